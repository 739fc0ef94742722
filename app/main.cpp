// vexa: the Vexa windows.
#include "CVexaClientApp.h"
#include "TempOutputs.h"

#include <cstdio>
#include <exception>
#include <new>
#include <unistd.h>

namespace {

// A failure no handler took (memory that ran out, say) ends the program without leaving
// the temporary outputs of its runs behind, and says why on standard error.
[[noreturn]] void OnTerminate() {
    vexa::TempOutputs::RemoveTracked();
    const char *reason = "the program failed";
    if (std::exception_ptr failure = std::current_exception()) {
        try {
            std::rethrow_exception(failure);
        } catch (const std::bad_alloc &) {
            reason = "not enough memory";
        } catch (...) {
        }
    }
    std::fprintf(stderr, "vexa: %s; the temporary outputs were removed\n", reason);
    _exit(8);
}

}  // namespace

int main(int argc, char **argv) {
    // Ended by a signal (the session closing, kill), the program leaves no temporary output behind.
    vexa::TempOutputs::RemoveOnTermination();
    std::set_terminate(&OnTerminate);
    vexa::CVexaClientApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
