#pragma once

#include <QLineEdit>

/// A text field of the object settings column. It keeps the text it last committed and the one
/// before it, so that a committed edit can be recorded as a change from one to the other and
/// undone by putting the earlier text back.
///
/// Typing and confirming (Return, or leaving the field) commits: requestTextChange(previous,
/// committed) asks for the change to be recorded. Whoever records it hands the text back
/// through editText(), which emits requestChangeHandle(): that is when the value is applied.
class TSLineEditUpdateable : public QLineEdit
{
    Q_OBJECT

public:
    explicit TSLineEditUpdateable(QWidget* parent = nullptr);

    /// The text of the last commit.
    QString committedText() const { return m_committed; }
    /// The committed text before the last commit.
    QString previousText() const { return m_previous; }
    /// Makes text the one before the current text, which becomes the committed one (a slider
    /// that wrote the field while it moved says where it started).
    void setPreviousText(const QString& text);
    /// Shows text as the field's value without announcing anything (the selection changed, or
    /// an edit was undone); both the committed and the previous text become text.
    void showText(const QString& text);

public Q_SLOTS:
    /// Takes value as the committed text (the committed one becomes the previous), marks the
    /// field modified and emits requestChangeHandle().
    void editText(const QString& value);
    /// Commits what was typed: emits requestTextChange() when it differs from the committed text.
    void updatePreviousText();

Q_SIGNALS:
    void requestTextChange(QString old, QString now);
    void requestChangeHandle();

private:
    QString m_committed;
    QString m_previous;
};
