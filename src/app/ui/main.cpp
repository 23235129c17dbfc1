// The program's entry: the single-instance rule, the application object, the main window and
// the message loop.
#include "TAddressMain.h"
#include "THourglass.h"
#include "TProgramFolder.h"
#include "TSingleInstance.h"

#include <QApplication>
#include <QFileInfo>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    // A second start brings the first one's window to the front and ends.
    TSingleInstance instance(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    if (!instance.start())
        return 0;

    QApplication::setApplicationName(QStringLiteral("Corvantis"));
    std::unique_ptr<TAddressMain> window;
    {
        THourglass hourglass;
        window = std::make_unique<TAddressMain>(TProgramFolder::settingsPath());
    }
    QObject::connect(&instance, &TSingleInstance::raiseRequested, window.get(), &TAddressMain::bringToFront);
    window->show();
    return app.exec();
}
