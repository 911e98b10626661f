#include "walk_files.h"

#include <dirent.h>

#include <cstring>
#include <vector>

bool walkFiles(const std::string& folder, const std::function<void(const std::string&)>& visit) {
  DIR* dir = opendir(folder.c_str());
  if (dir == nullptr) return false;
  std::vector<std::string> subfolders;
  bool listed = true;
  while (const dirent* entry = readdir(dir)) {
    if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) continue;
    const std::string path = folder + "/" + entry->d_name;
    if (entry->d_type == DT_DIR) subfolders.push_back(path);
    else if (entry->d_type == DT_REG) visit(path);
  }
  closedir(dir);
  for (const std::string& subfolder : subfolders) listed = walkFiles(subfolder, visit) && listed;
  return listed;
}
