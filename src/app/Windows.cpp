#include "app/Windows.h"

TMain* Main = nullptr;
TFhaslo_nowe* Fhaslo_nowe = nullptr;
TFboot* Fboot = nullptr;
TFInfo* FInfo = nullptr;
