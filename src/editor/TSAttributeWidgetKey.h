#pragma once

#include "TSAttributeWidget.h"

class TSPAttributeKey;

/// A hot key: a field that takes the next key pressed in it. Letters, digits, function keys,
/// arrow keys and Space are hot keys; any other key is refused with the "Wrong Key" warning.
class TSAttributeWidgetKey : public TSAttributeWidget
{
    Q_OBJECT

public:
    TSAttributeWidgetKey(TSPAttributeKey* attribute, QWidget* parent);

    QLineEdit* field() const { return m_field; }
    void buildEditor(int column, QBoxLayout* layout) override;
    void refresh() override;

    static bool isSupported(int key);

public Q_SLOTS:
    void attributeEditingRequest();
    void onUnsupportedKeyPressed(QString keyName, QString description);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TSPAttributeKey* m_key;
    QLineEdit* m_field = nullptr;
    int m_pressed = -1;
};
