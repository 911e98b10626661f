// A column of the per-image table: its name in the header, and whether its cells hold
// words (from the files or ours) rather than numbers, which decides whether a cell is
// guarded against being run as a spreadsheet formula.
#ifndef PRECHECK_REPORT_TABLE_COLUMN_H_
#define PRECHECK_REPORT_TABLE_COLUMN_H_

struct TableColumn {
  const char* name;
  bool text;
};

#endif  // PRECHECK_REPORT_TABLE_COLUMN_H_
