// vexa: the Vexa windows.
#include "CVexaClientApp.h"
#include "TempOutputs.h"

int main(int argc, char **argv) {
    // Ended by a signal (the session closing, kill), the program leaves no temporary output behind.
    vexa::TempOutputs::RemoveOnTermination();
    vexa::CVexaClientApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
