#pragma once

#include <QObject>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// A file dialog that keeps its settings between uses: the filter in the
// form "Description|*.ext|Description|*.ext", the default extension and the
// file name. Commands may swap the filter for their own and put it back.
class TFileDialog : public QObject {
    Q_OBJECT

public:
    enum class TKind { Open, Save };

    TFileDialog(QObject* Owner, TKind kind);

    TKind Kind() const { return FKind; }
    QString Filter;
    QString DefaultExt;
    QString FileName;
    QString Title;
    int FilterIndex = 1; // 1-based, as the filter pairs are counted

    // Shows the dialog; true with FileName set when the user chose a file.
    bool Execute(QWidget* parent = nullptr);

    // The filter in Qt's form: "Description (*.ext);;...".
    static QString QtFilter(const QString& filter);

    // Replaces the dialog in tests: receives the dialog, sets FileName and
    // returns what the user would have answered.
    static std::function<bool(TFileDialog& dialog)> ExecuteOverride;

private:
    TKind FKind;
};

// A command's own filter on a shared dialog: set with an empty file name for
// the scope's lifetime, the dialog's filter restored on every way out.
class TFilterScope {
public:
    TFilterScope(TFileDialog& dialog, const QString& filter)
        : FDialog(dialog), FSaved(dialog.Filter) {
        dialog.FileName.clear();
        dialog.Filter = filter;
    }
    ~TFilterScope() { FDialog.Filter = FSaved; }
    TFilterScope(const TFilterScope&) = delete;
    TFilterScope& operator=(const TFilterScope&) = delete;

private:
    TFileDialog& FDialog;
    QString FSaved;
};

// The print dialog: asks for a printer with the platform's defaults.
class TPrintDialog : public QObject {
    Q_OBJECT

public:
    explicit TPrintDialog(QObject* Owner) : QObject(Owner) {}

    // Shows the dialog for `printer`; true when the user chose to print.
    bool Execute(QPrinter& printer, QWidget* parent = nullptr);

    static std::function<bool(QPrinter& printer)> ExecuteOverride;
};
