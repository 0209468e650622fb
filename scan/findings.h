// What the integrity scan found during this run. Cleared once when the main window is
// created; later scans in the same run can only set them.
#pragma once

struct Findings {
  bool FirstRun = false;
  bool AutostartChanged = false;
  bool ExecutableChanged = false;
};
