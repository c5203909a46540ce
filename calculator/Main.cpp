#include "calculator/Program.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName("Tavrin Calculator");
    return quantivo::RunProgram();
}
