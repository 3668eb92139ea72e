#pragma once

#include "ScriptedDesktop.h"

#include <functional>

// The scripted desktop of the tests (boxes return at once, file dialogs answer from a
// queue), which also reports each event pump the program asks for. The main window's
// dispatcher pumps events first thing, so OnProcessMessages marks the moment an answer
// reaches DispatchResponse.
class BenchDesktop : public ScriptedDesktop {
public:
    void ProcessMessages() override;

    std::function<void()> OnProcessMessages;
};
