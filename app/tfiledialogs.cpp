#include "tfiledialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>

std::function<bool(TFileDialog&)> TFileDialog::ExecuteOverride;
std::function<bool(QPrinter&)> TPrintDialog::ExecuteOverride;

TFileDialog::TFileDialog(QObject* Owner, TKind kind) : QObject(Owner), FKind(kind) {}

QString TFileDialog::QtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        // A description that already ends in its patterns shows them once.
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        if (parts[i].trimmed().endsWith(shown))
            filters << parts[i].trimmed();
        else
            filters << QStringLiteral("%1 %2").arg(parts[i], shown);
    }
    return filters.join(QStringLiteral(";;"));
}

bool TFileDialog::Execute(QWidget* parent) {
    if (ExecuteOverride)
        return ExecuteOverride(*this);
    QFileDialog dialog(parent, Title);
    dialog.setAcceptMode(FKind == TKind::Open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(FKind == TKind::Open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    const QStringList filters = QtFilter(Filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dialog.setNameFilters(filters);
    if (FilterIndex >= 1 && FilterIndex <= filters.size())
        dialog.selectNameFilter(filters[FilterIndex - 1]);
    // A default extension given as "*.ext" means "ext".
    QString extension = DefaultExt;
    if (extension.startsWith(QLatin1String("*.")))
        extension = extension.mid(2);
    else if (extension.startsWith(u'.'))
        extension = extension.mid(1);
    dialog.setDefaultSuffix(extension);
    if (!FileName.isEmpty()) {
        const QFileInfo file(FileName);
        dialog.setDirectory(file.absolutePath());
        dialog.selectFile(file.fileName());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    FileName = dialog.selectedFiles().constFirst();
    FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

bool TPrintDialog::Execute(QPrinter& printer, QWidget* parent) {
    if (ExecuteOverride)
        return ExecuteOverride(printer);
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}
