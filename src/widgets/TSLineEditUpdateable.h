#pragma once

#include <QLineEdit>

/// A field of the object settings column that remembers the text it last committed, so that an
/// edit can be undone by putting that text back as if it had been typed.
class TSLineEditUpdateable : public QLineEdit
{
    Q_OBJECT

public:
    explicit TSLineEditUpdateable(QWidget* parent = nullptr);

    /// The text of the last commit (typed and confirmed, or applied).
    QString committedText() const { return m_committed; }
    /// Shows text as the field's value without announcing it (the selection changed).
    void showCommitted(const QString& text);
    /// Puts text in and commits it, as if the user had typed it and pressed Return.
    void applyText(const QString& text);

Q_SIGNALS:
    /// The user (or an undo) committed a new text; the previous one is committedText() before.
    void committed(const QString& text, const QString& previous);

private:
    void commit();

    QString m_committed;
};
