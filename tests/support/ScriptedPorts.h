#pragma once

#include "serial/PortEnumeration.h"

#include <memory>

// The serial ports a test says the machine has; the test changes them while the window runs.
class ScriptedPorts : public TPortEnumeration {
public:
    explicit ScriptedPorts(std::shared_ptr<QList<TListedPort>> ports) : ports_(std::move(ports)) {}
    QList<TListedPort> ListPorts() const override { return *ports_; }

private:
    std::shared_ptr<QList<TListedPort>> ports_;
};
