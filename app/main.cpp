#include "tglodrikapplication.h"

#include <QLabel>
#include <QMainWindow>

int main(int argc, char** argv) {
    TGlodrikApplication application(argc, argv);
    // The main window with its pages comes with the window's own class; until
    // then a plain frame with the program's caption.
    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8("Glodrik för Kolvo V1.01"));
    auto* label = new QLabel(QStringLiteral("Glodrik"), &window);
    label->setAlignment(Qt::AlignCenter);
    window.setCentralWidget(label);
    window.showMaximized();
    return application.exec();
}
