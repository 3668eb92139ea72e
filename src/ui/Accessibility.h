#pragma once

// How assistive tools see the program's windows, where Qt's own view differs from what a
// person sees on the screen:
// - a panel's hidden controls are not there: named frames and plain containers list only
//   the children shown;
// - a drop-down list given a name is heard by that name, its choice as its value (Qt on
//   Unix names it by its choice and leaves the label to a relation not every tool reads).
// Installed once, before the first window is queried.
void InstallAccessibility();
