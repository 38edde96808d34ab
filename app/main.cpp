#include "programicon.h"
#include "taboutbox.h"
#include "tformmain.h"
#include "tglodrikapplication.h"
#include "thelpwindow.h"

#include <exception>

int main(int argc, char** argv) {
    try {
        TGlodrikApplication application(argc, argv);
        TGlodrikApplication::setWindowIcon(ProgramIcon());
        // Lets the desktop match the windows to the installed entry and its icon.
        TGlodrikApplication::setDesktopFileName(QStringLiteral("glodrik"));
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
