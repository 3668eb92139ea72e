#pragma once

class TMain;
class TFhaslo_nowe;
class TFboot;
class TFInfo;

// The four windows created at start-up, in this order; only Main is shown. The dialogs
// are shown as fresh instances on each use, these stay hidden.
extern TMain* Main;
extern TFhaslo_nowe* Fhaslo_nowe;
extern TFboot* Fboot;
extern TFInfo* FInfo;
