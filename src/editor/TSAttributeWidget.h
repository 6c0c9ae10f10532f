#pragma once

#include <QColor>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <memory>

class QBoxLayout;
class QLineEdit;
class TSAnimationCurve;
class TSLayoutBuilder;
class TSPAttribute;

/// One row of the attributes panel: the editors of one attribute, laid out by its layout
/// builder. The row shows exactly while the attribute is visible. A finished edit writes the
/// editor's value into the attribute and emits editingFinished(this); whoever shows the panel
/// applies and records it.
class TSAttributeWidget : public QWidget
{
    Q_OBJECT

public:
    /// Text colours of an animated value: with a key at the current time, and without.
    static const QColor kKeyedColor;
    static const QColor kAnimatedColor;

    /// The widget of attribute's kind with its row built, or null for an attribute the panel
    /// leaves out (see isExcluded()) or a kind without an editor (path, sound).
    static TSAttributeWidget* create(TSPAttribute* attribute, QWidget* parent);
    /// The two tests that keep an attribute out of the panel: its creation flag marks it as
    /// kept by the model for itself, and an attribute that follows another (a linked attribute
    /// in link mode 0) shows the other's value and ignores every edit.
    static bool isExcluded(const TSPAttribute* attribute);

    TSPAttribute* attribute() const { return m_attribute; }
    /// The name the row shows: the attribute's layout text, or its name.
    QString displayName() const;
    bool isKeyed() const { return m_keyed; }
    bool isAnimated() const { return m_animated; }

    /// Re-reads the attribute: visibility and the editors' values.
    virtual void refresh();
    virtual void setKeyed(bool keyed);
    /// Adds the editor of column (0 is the first) to layout.
    virtual void buildEditor(int column, QBoxLayout* layout) = 0;
    virtual int columnCount() const { return 1; }
    virtual std::unique_ptr<TSLayoutBuilder> createLayoutBuilder() const;

Q_SIGNALS:
    void editingFinished(TSAttributeWidget* attributeWidget);

public Q_SLOTS:
    void attributeEditingFinished();
    /// Relays the finished edit of another row (a group's children).
    void attributeEditingFinished(TSAttributeWidget* attribute);

protected:
    TSAttributeWidget(TSPAttribute* attribute, QWidget* parent);
    /// Lays the row out; create() calls it once the widget is complete.
    void build();
    /// Every editor goes through here: Ctrl+Z and Ctrl+Y typed into it go to the history.
    void watchEditor(QWidget* editor);
    /// The keyed state of a value driven by curves (none: not animated), read at the owner's
    /// evaluation position.
    void readKeyedState(std::initializer_list<const TSAnimationCurve*> curves);
    /// The text colour of the row's fields for the keyed state.
    void paintKeyedState(QLineEdit* edit) const;
    /// The context menu of an animatable field: "Set Key Frame" calls setKey.
    void popupKeyFrameMenu(QWidget* editor, const QPoint& pos, std::function<void()> setKey);
    /// A line edit whose commit (Return or leaving it) after typing calls done.
    QLineEdit* lineEdit(const QString& objectName, std::function<void()> done);

private:
    TSPAttribute* m_attribute;
    bool m_keyed = false;
    bool m_animated = false;
};
