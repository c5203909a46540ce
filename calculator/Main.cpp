#include "calculator/Program.h"

#include "platform/signals/StartDispositions.h"

#include <QApplication>

int main(int argc, char** argv)
{
    const TWriteSignalsIgnored writeSignalsIgnored;
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Tavrin Calculator");
    return quantivo::RunProgram();
}
