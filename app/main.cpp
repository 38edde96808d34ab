#include "taboutbox.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "thelpwindow.h"

#include <exception>

int main(int argc, char** argv) {
    try {
        TGlodrikApplication application(argc, argv);
        THelpWindow::SetHelpFile(QStringLiteral("GLODRIK.HLP"));
        TGlodrikApplication::SetTitle(QStringLiteral("Glodrik"));
        TFormMain FormMain;
        TAboutBox AboutBox;
        FormMain.AboutBox = &AboutBox;
        FormMain.showMaximized();
        return application.exec();
    } catch (const std::exception& error) {
        // Start-up failed: say why, and tell whoever started the program.
        TGlodrikApplication::ShowException(error);
    } catch (...) {
        TGlodrikApplication::ShowException(QString());
    }
    return 1;
}
