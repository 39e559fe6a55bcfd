#pragma once
// SIGINT, SIGTERM and SIGHUP while the tool runs (Preruseni = interruption):
// the handler only notes the signal and rings the links' alarm; the links
// see it at once (the serial link's wait sleeps on the alarm) or at their
// next pump, and end the transfer as failed, so the command unwinds on its
// normal failure path and removes what it has left half done.
#include "Budik.h"

namespace vk::cli {

class TZachytavaniSignalu {  // Zachytavani = catching
public:
    // Installs the handlers and the links' question whether to end;
    // the destructor puts back what was there before.
    TZachytavaniSignalu();
    ~TZachytavaniSignalu();
    TZachytavaniSignalu(const TZachytavaniSignalu&) = delete;
    TZachytavaniSignalu& operator=(const TZachytavaniSignalu&) = delete;

private:
    link::TBudik Budik;
};

// The first signal caught, 0 when none.
int PrijatySignal();

}  // namespace vk::cli
