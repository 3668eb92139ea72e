#include "core/ErrorFunnel.h"

void TErrorFunnel::Handle(const std::exception& error) {
    if (auto* funnel = dynamic_cast<TErrorFunnel*>(QCoreApplication::instance()))
        funnel->Funnel(error);
}
