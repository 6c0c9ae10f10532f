#pragma once

#include <QComboBox>

class QLineEdit;

/// A combo box whose entries can be renamed and deleted from the list that drops down: each row
/// carries a rename and a delete button at its right end. Renaming puts a text field over the
/// box, prefilled with the entry's text: Return (or leaving the field) confirms, Escape cancels.
/// The box changes no entry itself; it only says what the user asked for.
class TSDeletableComboBox : public QComboBox
{
    Q_OBJECT

public:
    enum RowButton
    {
        NoButton,
        RenameButton,
        DeleteButton
    };

    explicit TSDeletableComboBox(QWidget* parent = nullptr);

    /// Where a row's button sits in the drop-down list, for a row drawn at rowRect.
    QRect buttonRect(const QRect& rowRect, RowButton button) const;
    /// The field that takes the new name while an entry is renamed (hidden otherwise).
    QLineEdit* renameEdit() const { return m_renameEdit; }
    /// Starts renaming the entry at index.
    void startRename(int index);
    /// Drops the list down wide enough for its longest entry and the row buttons, within the screen.
    void showPopup() override;

Q_SIGNALS:
    void itemDeleted(const QString& text);
    void itemRenamed(const QString& oldName, const QString& newName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    RowButton buttonAt(const QPoint& viewportPos, int* row) const;
    void finishRename(bool confirmed);

    QLineEdit* m_renameEdit;
    int m_renamedRow = -1;
    /// The row and button a press in the list landed on, acted on at the release.
    int m_pressedRow = -1;
    RowButton m_pressedButton = NoButton;
};
