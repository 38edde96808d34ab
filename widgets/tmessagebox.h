#pragma once

#include <QString>

#include <functional>

class QWidget;

// The program's message boxes: information, warning and error, with one OK
// button or Yes and No. Titled with the application's name.
class TMessageBox {
public:
    enum class TKind { Information, Warning, Error };

    static void Show(TKind kind, const QString& text, QWidget* parent = nullptr);
    // True only for Yes; No, Escape and closing the box all count as no.
    static bool AskYesNo(TKind kind, const QString& text, QWidget* parent = nullptr);

    // Replaces the boxes in tests: receives what would be shown and returns
    // the answer (used for Yes/No only).
    static std::function<bool(TKind kind, const QString& text, bool yesNo)> Override;
};
