#include "soakuser.h"

#include "soakrecord.h"
#include "tformmain.h"
#include "tled.h"
#include "tprocessimage.h"
#include "ui_tformmain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {

// Relative weights of the actions.
enum class TAction { Edit, EditByFocus, Invalid, Lamp, UpdateAll, Live, Older, Reconnect };
constexpr struct {
    TAction Action;
    double Weight;
} kActions[] = {
    {TAction::Edit, 34}, {TAction::EditByFocus, 6}, {TAction::Invalid, 3},
    {TAction::Lamp, 36}, {TAction::UpdateAll, 6},   {TAction::Live, 5},
    {TAction::Older, 4}, {TAction::Reconnect, 6},
};

constexpr int kMinPauseMs = 20;
constexpr int kMaxPauseMs = 300;

bool IsWritable(const TZuIO& point) {
    const QLineEdit* edit = point.Edit();
    const bool numeric = point.Type() == IOType::sByte || point.Type() == IOType::sWord ||
                         point.Type() == IOType::SignsWord;
    return numeric && edit && edit->isEnabled() && !edit->isReadOnly();
}

} // namespace

TScriptedUser::TScriptedUser(TFormMain& form, TUserRecord& record, quint32 seed,
                             std::function<int()> currentInstance)
    : FForm(form), FRecord(record), FRandom(seed), FCurrentInstance(std::move(currentInstance)) {
    for (TZuIO* point : form.Image().Points()) {
        if (IsWritable(*point))
            FEditable.append(point);
    }
    for (TZuBit* bit : form.Image().AllBits()) {
        if (!bit->ReadOnly && bit->Led())
            FLamps.append(bit);
    }
    FTimer.setSingleShot(true);
    connect(&FTimer, &QTimer::timeout, this, [this] { Act(); });
}

void TScriptedUser::Start() {
    FRunning = true;
    ScheduleNext();
}

void TScriptedUser::Stop() {
    FRunning = false;
    FLinkAllowed = false;
    FTimer.stop();
}

int TScriptedUser::Between(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(FRandom);
}

void TScriptedUser::ScheduleNext() {
    if (FRunning)
        FTimer.start(Between(kMinPauseMs, kMaxPauseMs));
}

int TScriptedUser::ChooseAction() {
    std::vector<double> weights;
    for (const auto& entry : kActions)
        weights.push_back(entry.Weight);
    return std::discrete_distribution<int>(weights.begin(), weights.end())(FRandom);
}

void TScriptedUser::Act() {
    Ui::TFormMain& ui = FForm.Form();
    switch (kActions[ChooseAction()].Action) {
    case TAction::Edit:
        EditParameter(false);
        break;
    case TAction::EditByFocus:
        EditParameter(true);
        break;
    case TAction::Invalid:
        TypeInvalidText();
        break;
    case TAction::Lamp:
        ClickLamp();
        break;
    case TAction::UpdateAll:
        Press(*ui.ButtonUpdateAll, QStringLiteral("Uppdatera Skärm"));
        break;
    case TAction::Live:
        Press(*ui.CheckBoxStateLive, ui.CheckBoxStateLive->isChecked()
                                         ? QStringLiteral("Visa i realtid off")
                                         : QStringLiteral("Visa i realtid on"));
        break;
    case TAction::Older:
        Press(*ui.CheckBoxOverVer1_7, ui.CheckBoxOverVer1_7->isChecked()
                                          ? QStringLiteral("older version off")
                                          : QStringLiteral("older version on"));
        break;
    case TAction::Reconnect:
        Disconnect();
        break;
    }
    ScheduleNext();
}

QString TScriptedUser::ValueText(TZuIO& point) {
    const int pick = Between(0, 99);
    // Enter on what the box shows: the user confirms the value seen.
    if (pick < 20)
        return point.Edit()->text();
    const QList<TUserAction> earlier = FRecord.Actions().value(point.MsgCode());
    if (pick < 35 && !earlier.isEmpty())
        return point.ShownText(earlier.at(Between(0, int(earlier.size()) - 1)).After);
    const int high = point.Type() == IOType::sByte ? 0xFF : 0xFFFF;
    int raw = Between(0, high);
    if (point.Type() == IOType::SignsWord)
        raw -= 0x8000;
    return point.ShownText(raw);
}

bool TScriptedUser::Type(QLineEdit& edit, const QString& text, bool leaveByFocus) {
    if (leaveByFocus) {
        edit.setFocus(Qt::MouseFocusReason);
        if (!edit.hasFocus())
            leaveByFocus = false; // the window is not active: Enter instead
    }
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(&edit, text);
    if (leaveByFocus)
        FForm.Form().ButtonUpdateAll->setFocus(Qt::TabFocusReason);
    else
        QTest::keyClick(&edit, Qt::Key_Return);
    return leaveByFocus;
}

void TScriptedUser::EditParameter(bool leaveByFocus) {
    if (FEditable.isEmpty())
        return;
    TZuIO& point = *FEditable.at(Between(0, int(FEditable.size()) - 1));
    const QString text = ValueText(point);
    const TUserRecord::TBefore before = TUserRecord::Capture(point);
    const bool leftByFocus = Type(*point.Edit(), text, leaveByFocus);
    FRecord.Note(point, before,
                 leftByFocus ? QStringLiteral("edit, focus leaves") : QStringLiteral("edit, Enter"),
                 FCurrentInstance());
}

void TScriptedUser::TypeInvalidText() {
    if (FEditable.isEmpty())
        return;
    TZuIO& point = *FEditable.at(Between(0, int(FEditable.size()) - 1));
    const TUserRecord::TBefore before = TUserRecord::Capture(point);
    Type(*point.Edit(), QStringLiteral("1x2"), false);
    FRecord.Note(point, before, QStringLiteral("edit, text that is no number"), FCurrentInstance(),
                 false);
}

void TScriptedUser::ClickLamp() {
    if (FLamps.isEmpty())
        return;
    TZuBit& bit = *FLamps.at(Between(0, int(FLamps.size()) - 1));
    auto* point = qobject_cast<TZuIO*>(bit.parent());
    if (!point)
        return;
    const int pick = Between(0, 9);
    const Qt::MouseButton button = pick < 5   ? Qt::LeftButton
                                   : pick < 9 ? Qt::RightButton
                                              : Qt::MiddleButton;
    const TUserRecord::TBefore before = TUserRecord::Capture(*point);
    QTest::mouseClick(bit.Led(), button);
    FRecord.Note(*point, before,
                 button == Qt::LeftButton    ? QStringLiteral("lamp, left click")
                 : button == Qt::RightButton ? QStringLiteral("lamp, right click")
                                             : QStringLiteral("lamp, middle click"),
                 FCurrentInstance());
}

void TScriptedUser::Press(QAbstractButton& button, const QString& kind) {
    QTest::mouseClick(&button, Qt::LeftButton);
    FRecord.Count(kind);
}

void TScriptedUser::Disconnect() {
    if (!FLinkAllowed || !FForm.Form().LedConnected->GetOn())
        return;
    Press(*FForm.Form().ButtonStart, QStringLiteral("Anslut: disconnect"));
    const int pick = Between(0, 9);
    if (pick < 2)
        ConnectNow(QStringLiteral("Anslut: connect again at once"));
    else if (pick < 4)
        ConnectAfter(Between(1, 30));
    else
        ConnectAfter(Between(100, 1500));
}

void TScriptedUser::ConnectAfter(int ms) {
    QTimer::singleShot(ms, this, [this] { ConnectNow(QStringLiteral("Anslut: connect")); });
}

void TScriptedUser::ConnectNow(const QString& kind) {
    if (!FRunning || !FLinkAllowed || FForm.Form().LedConnected->GetOn())
        return;
    Press(*FForm.Form().ButtonStart, kind);
    ++FReconnects;
}
