#include "TSMessageBox.h"

#include <QPushButton>

namespace {

TSMessageBox::Answerer& answerer()
{
    static TSMessageBox::Answerer instance;
    return instance;
}

} // namespace

void TSMessageBox::setAnswerer(Answerer answer)
{
    answerer() = std::move(answer);
}

QMessageBox::StandardButton TSMessageBox::show(QWidget* parent, QMessageBox::Icon icon, const QString& title,
                                               const QString& text, QMessageBox::StandardButtons buttons,
                                               QMessageBox::StandardButton defaultButton)
{
    if (answerer()) {
        return answerer()(Request{icon, title, text, buttons, defaultButton});
    }
    QMessageBox box(icon, title, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton
TSMessageBox::ask(QWidget* parent, const QString& title, const QString& text,
                  const QList<QPair<QMessageBox::StandardButton, QString>>& buttons,
                  QMessageBox::StandardButton defaultButton)
{
    QMessageBox::StandardButtons all;
    for (const auto& button : buttons) {
        all |= button.first;
    }
    if (answerer()) {
        return answerer()(Request{QMessageBox::Question, title, text, all, defaultButton, buttons});
    }
    QMessageBox box(QMessageBox::Question, title, text, all, parent);
    for (const auto& button : buttons) {
        // The standard icon goes with the standard text.
        QAbstractButton* shown = box.button(button.first);
        shown->setText(button.second);
        shown->setIcon(QIcon());
    }
    box.setDefaultButton(defaultButton);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

QMessageBox::StandardButton TSMessageBox::warning(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Warning, title, text);
}

QMessageBox::StandardButton TSMessageBox::information(QWidget* parent, const QString& title, const QString& text)
{
    return show(parent, QMessageBox::Information, title, text);
}

QMessageBox::StandardButton TSMessageBox::question(QWidget* parent, const QString& title, const QString& text,
                                                   QMessageBox::StandardButtons buttons,
                                                   QMessageBox::StandardButton defaultButton)
{
    return show(parent, QMessageBox::Question, title, text, buttons, defaultButton);
}
