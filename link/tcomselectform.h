#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class TComSelectForm;
}
class QComboBox;

// The port prompt: lists "COMn" for every existing port n = 1..50 and lets
// the user pick one.
class TComSelectForm : public QDialog {
    Q_OBJECT

public:
    using TPortExists = std::function<bool(int comNumber)>;

    // Fills the list with the ports that `exists` accepts (by default a test open).
    explicit TComSelectForm(QWidget* parent = nullptr, TPortExists exists = {});
    ~TComSelectForm() override;

    QComboBox* PortsComboBox() const;
    // The number after "COM" in the selected entry; 0 when the list is empty.
    int SelectedComNumber() const;

    // Shows the prompt modally; the chosen number, or none for Cancel, a
    // closed dialog or OK on an empty list.
    static std::optional<int> AskForPort(QWidget* parent);

private:
    std::unique_ptr<Ui::TComSelectForm> FUi;
};
