#pragma once
// SIGINT, SIGTERM and SIGHUP while the tool runs (Preruseni = interruption):
// the handler only notes the signal; the links see it at their next pump and
// end the transfer as failed, so the command unwinds on its normal failure
// path and removes what it has left half done.
namespace vk::cli {

class TZachytavaniSignalu {  // Zachytavani = catching
public:
    // Installs the handlers and the links' question whether to end;
    // the destructor puts back what was there before.
    TZachytavaniSignalu();
    ~TZachytavaniSignalu();
    TZachytavaniSignalu(const TZachytavaniSignalu&) = delete;
    TZachytavaniSignalu& operator=(const TZachytavaniSignalu&) = delete;
};

// The first signal caught, 0 when none.
int PrijatySignal();

}  // namespace vk::cli
