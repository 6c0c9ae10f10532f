#include "TSDeletableComboBox.h"

#include "ScreenScale.h"

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int kButtonSize = 16;
constexpr int kButtonGap = 4;

int scaled(int length, const QWidget* widget)
{
    return static_cast<int>(length * ScreenScale::of(widget));
}

/// Draws a row of the drop-down list with the rename and delete buttons at its right end.
class RowButtonsDelegate : public QStyledItemDelegate
{
public:
    explicit RowButtonsDelegate(TSDeletableComboBox* box) : QStyledItemDelegate(box), m_box(box) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shortened(option);
        shortened.rect.setRight(m_box->buttonRect(option.rect, TSDeletableComboBox::RenameButton).left() -
                                kButtonGap);
        // The row's background spans the whole width, its text stops short of the buttons.
        QStyledItemDelegate::paint(painter, option, QModelIndex());
        QStyledItemDelegate::paint(painter, shortened, index);
        const bool hovered = option.state & (QStyle::State_MouseOver | QStyle::State_Selected);
        painter->save();
        painter->setOpacity(hovered ? 1.0 : 0.45);
        for (auto button : {TSDeletableComboBox::RenameButton, TSDeletableComboBox::DeleteButton}) {
            const QString icon = button == TSDeletableComboBox::RenameButton
                                     ? QStringLiteral(":/resources/animationView/AE_Rename.svg")
                                     : QStringLiteral(":/resources/animationView/AE_Delete.svg");
            QIcon(icon).paint(painter, m_box->buttonRect(option.rect, button));
        }
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        // What paint() takes from the text: both buttons, a gap before, between and after them.
        const int button = scaled(kButtonSize, m_box);
        const int gap = scaled(kButtonGap, m_box);
        size.setWidth(size.width() + 2 * button + 3 * gap);
        size.setHeight(std::max(size.height(), button + gap));
        return size;
    }

private:
    TSDeletableComboBox* m_box;
};

} // namespace

TSDeletableComboBox::TSDeletableComboBox(QWidget* parent)
    : QComboBox(parent), m_renameEdit(new QLineEdit(this))
{
    setItemDelegate(new RowButtonsDelegate(this));
    // Installed after the drop-down's own filter, so this one sees the clicks first.
    view()->viewport()->installEventFilter(this);
    view()->viewport()->setMouseTracking(true);
    m_renameEdit->setObjectName(QStringLiteral("renameEdit"));
    m_renameEdit->hide();
    m_renameEdit->installEventFilter(this);
}

QRect TSDeletableComboBox::buttonRect(const QRect& rowRect, RowButton button) const
{
    const int size = scaled(kButtonSize, this);
    const int gap = scaled(kButtonGap, this);
    // A row whose text wants more than the list's width reaches past its right edge; the list
    // draws it cut at that edge, so the buttons sit there, in the same column on every row.
    const int rowRight = std::min(rowRect.right(), view()->viewport()->rect().right());
    const int right = button == DeleteButton ? rowRight - gap : rowRight - 2 * gap - size;
    return QRect(right - size + 1, rowRect.center().y() - size / 2, size, size);
}

TSDeletableComboBox::RowButton TSDeletableComboBox::buttonAt(const QPoint& viewportPos, int* row) const
{
    const QModelIndex index = view()->indexAt(viewportPos);
    if (!index.isValid()) {
        return NoButton;
    }
    *row = index.row();
    const QRect rowRect = view()->visualRect(index);
    for (RowButton button : {RenameButton, DeleteButton}) {
        if (buttonRect(rowRect, button).adjusted(-2, -2, 2, 2).contains(viewportPos)) {
            return button;
        }
    }
    return NoButton;
}

void TSDeletableComboBox::showPopup()
{
    QComboBox::showPopup();
    // The box makes its list only as wide as the names; the rows want room for their buttons
    // too. Widened to the right, as far as the screen allows, and moved left when it must.
    QWidget* popup = view()->window();
    const int wanted = view()->sizeHintForColumn(0) + popup->width() - view()->viewport()->width();
    if (wanted <= popup->width()) {
        return;
    }
    const QRect screenArea = screen()->availableGeometry();
    QRect geometry = popup->geometry();
    geometry.setWidth(std::min(wanted, screenArea.width()));
    if (geometry.right() > screenArea.right()) {
        geometry.moveRight(screenArea.right());
    }
    popup->setGeometry(geometry);
}

void TSDeletableComboBox::startRename(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    m_renamedRow = index;
    m_renameEdit->setGeometry(rect());
    m_renameEdit->setText(itemText(index));
    m_renameEdit->show();
    m_renameEdit->raise();
    m_renameEdit->setFocus(Qt::OtherFocusReason);
    m_renameEdit->selectAll();
}

void TSDeletableComboBox::finishRename(bool confirmed)
{
    if (m_renamedRow < 0) {
        return;
    }
    const QString oldName = itemText(m_renamedRow);
    const QString newName = m_renameEdit->text();
    m_renamedRow = -1;
    m_renameEdit->hide();
    setFocus(Qt::OtherFocusReason);
    if (confirmed && newName != oldName) {
        Q_EMIT itemRenamed(oldName, newName);
    }
}

bool TSDeletableComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_renameEdit) {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
                finishRename(key != Qt::Key_Escape);
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && m_renamedRow >= 0) {
            finishRename(true);
        }
        return QComboBox::eventFilter(watched, event);
    }
    if (watched == view()->viewport()) {
        const auto type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick ||
            type == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            int row = -1;
            const RowButton button = buttonAt(mouse->pos(), &row);
            if (type != QEvent::MouseButtonRelease) {
                m_pressedRow = row;
                m_pressedButton = button;
                return button != NoButton;
            }
            const bool clicked = button != NoButton && button == m_pressedButton && row == m_pressedRow;
            m_pressedButton = NoButton;
            if (!clicked) {
                return button != NoButton;
            }
            const QString text = itemText(row);
            hidePopup();
            if (button == DeleteButton) {
                Q_EMIT itemDeleted(text);
            } else {
                startRename(row);
            }
            return true;
        }
    }
    return QComboBox::eventFilter(watched, event);
}

void TSDeletableComboBox::resizeEvent(QResizeEvent* event)
{
    QComboBox::resizeEvent(event);
    m_renameEdit->setGeometry(rect());
}
