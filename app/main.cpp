// vexa: the Vexa windows.
#include "CVexaClientApp.h"

int main(int argc, char **argv) {
    vexa::CVexaClientApp app(argc, argv);
    if (!app.InitInstance()) return 1;
    return app.exec();
}
