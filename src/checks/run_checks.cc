#include "checks/checks.h"
#include "checks/image_groups.h"

Offending runCheck(const Check& check, ImageRecords& images, Console& console) {
  switch (check.kind) {
    case CheckKind::consistency:
      return consistencyCheck(check, images, console);
    case CheckKind::offendingKey:
      break;
  }
  return offendingKeyCheck(check, images, console);
}

CheckOutcomes runChecks(const TaskConfig& config, ImageRecords& images, Console& console) {
  CheckOutcomes outcomes;
  for (std::size_t row = 0; row < kCheckCount; ++row) {
    const Check& check = kChecks[row];
    if (!isOn(config.*check.switchValue)) continue;
    console.writeLine({own(check.announcement)});
    outcomes.byCheck[row] = runCheck(check, images, console);
  }
  return outcomes;
}
