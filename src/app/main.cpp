// The program's entry: the application object, the main window and the message loop.
#include "TAddressMain.h"
#include "THourglass.h"
#include "TProgramFolder.h"

#include <QApplication>

#include <memory>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Corvantis"));
    std::unique_ptr<TAddressMain> window;
    {
        THourglass hourglass;
        window = std::make_unique<TAddressMain>(TProgramFolder::settingsPath());
    }
    window->show();
    return app.exec();
}
