#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

// The help system: shows the help file's contents or one of its topics in
// a help window. A help file named without a path is the one shipped in the
// program's resources.
class THelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit THelpWindow(QWidget* parent = nullptr);

    static void SetHelpFile(const QString& name);
    static QString HelpFile();

    void ShowContents();
    // Topic n is the anchor "topic<n>" of the help file.
    void ShowTopic(int topic);

    QTextBrowser* Browser() const { return FBrowser; }
    // The anchor last shown: "contents" or "topic<n>".
    const QString& ShownAnchor() const { return FAnchor; }

private:
    void Show(const QString& anchor);

    QTextBrowser* FBrowser;
    QString FAnchor;
};
