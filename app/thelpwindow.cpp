#include "thelpwindow.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QString helpFile = QStringLiteral("GLODRIK.HLP");

QUrl HelpUrl() {
    const QFileInfo file(helpFile);
    if (file.fileName() == helpFile && !file.exists())
        return QUrl(QStringLiteral("qrc:/help/") + helpFile);
    return QUrl::fromLocalFile(file.absoluteFilePath());
}

} // namespace

THelpWindow::THelpWindow(QWidget* parent)
    : QDialog(parent, Qt::Window), FBrowser(new QTextBrowser(this)) {
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Glodrik – hjälp"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FBrowser);
    resize(720, 640);
}

void THelpWindow::SetHelpFile(const QString& name) {
    helpFile = name;
}

QString THelpWindow::HelpFile() {
    return helpFile;
}

void THelpWindow::ShowContents() {
    Show(QStringLiteral("contents"));
}

void THelpWindow::ShowTopic(int topic) {
    Show(QStringLiteral("topic%1").arg(topic));
}

void THelpWindow::Show(const QString& anchor) {
    QUrl url = HelpUrl();
    if (FBrowser->source().adjusted(QUrl::RemoveFragment) != url)
        FBrowser->setSource(url, QTextDocument::HtmlResource);
    FBrowser->scrollToAnchor(anchor);
    FAnchor = anchor;
    show();
    raise();
    activateWindow();
}
