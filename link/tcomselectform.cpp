#include "tcomselectform.h"

#include "comdevices.h"
#include "tapdcomport.h"
#include "ui_tcomselectform.h"

TComSelectForm::TComSelectForm(QWidget* parent, TPortExists exists)
    : QDialog(parent), FUi(std::make_unique<Ui::TComSelectForm>()) {
    FUi->setupUi(this);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    connect(FUi->OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(FUi->AbortBtn, &QPushButton::clicked, this, &QDialog::reject);
    if (!exists)
        exists = &TApdComPort::PortExists;
    for (int n = kFirstComNumber; n <= kLastComNumber; ++n) {
        if (exists(n))
            FUi->PortsComboBox->addItem(QStringLiteral("COM%1").arg(n));
    }
    FUi->PortsComboBox->setCurrentIndex(FUi->PortsComboBox->count() > 0 ? 0 : -1);
    FUi->OkBtn->setFocus();
}

TComSelectForm::~TComSelectForm() = default;

QComboBox* TComSelectForm::PortsComboBox() const {
    return FUi->PortsComboBox;
}

int TComSelectForm::SelectedComNumber() const {
    const QString entry = FUi->PortsComboBox->currentText();
    if (!entry.startsWith(QLatin1String("COM")))
        return 0;
    return entry.mid(3).toInt();
}

std::optional<int> TComSelectForm::AskForPort(QWidget* parent) {
    TComSelectForm form(parent);
    if (form.exec() != QDialog::Accepted)
        return std::nullopt;
    const int number = form.SelectedComNumber();
    if (number <= 0)
        return std::nullopt;
    return number;
}
