#include "listmanager/Program.h"

#include "platform/signals/StartDispositions.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    const TWriteSignalsIgnored writeSignalsIgnored;
    QApplication app(argc, argv);
    QApplication::setApplicationName("Pellicor");
    QApplication::setApplicationDisplayName("Tavrin List");
    QIcon icon;
    for (const char* size : {"48", "32", "16"})
        icon.addFile(QString(":/icons/Pellicor-%1.png").arg(size));
    QApplication::setWindowIcon(icon);
    return pellicor::RunProgram();
}
