#include "BenchDesktop.h"

void BenchDesktop::ProcessMessages() {
    if (OnProcessMessages)
        OnProcessMessages();
    ScriptedDesktop::ProcessMessages();
}
