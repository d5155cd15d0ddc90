#pragma once
#include <QString>

// Message boxes behind an interface, so tests can answer them.
class IMessageBoxes {
public:
    enum class Icon { None, Warning, Question, Information, Critical };

    virtual ~IMessageBoxes() = default;
    // A box with one "OK" button; returns once it is dismissed.
    virtual void message(const QString &text, const QString &caption, Icon icon) = 0;
    // A box with "Yes" and "No"; true for Yes.
    virtual bool question(const QString &text, const QString &caption, Icon icon) = 0;
};

// The window thread's four kinds, each with its own caption.
void showWarning(IMessageBoxes &boxes, const QString &text);
void showInformation(IMessageBoxes &boxes, const QString &text);
void showError(IMessageBoxes &boxes, const QString &text);
bool confirm(IMessageBoxes &boxes, const QString &text);

// QMessageBox over the active window.
class QtMessageBoxes : public IMessageBoxes {
public:
    void message(const QString &text, const QString &caption, Icon icon) override;
    bool question(const QString &text, const QString &caption, Icon icon) override;
};
