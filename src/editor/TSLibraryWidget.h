#pragma once

#include <QWidget>

class QListWidget;
class QListWidgetItem;
class TSModel;

/// The sprite editor's media library: the project's sprite containers, each with its first
/// frame and its name, filtered by a search text.
class TSLibraryWidget : public QWidget
{
    Q_OBJECT

public:
    explicit TSLibraryWidget(QWidget* parent = nullptr);

    QListWidget* list() const { return m_list; }
    /// The container of the selected row, or null.
    TSModel* selectedModel() const;
    /// Selects model's row (without announcing it); null clears the selection.
    void selectModel(const TSModel* model);
    /// The row of model, or null.
    QListWidgetItem* itemOf(const TSModel* model) const;

public Q_SLOTS:
    /// Lists the containers of the controller again (names, frames, which exist).
    void updateLabelsList();
    /// Shows only the rows whose name holds search (case does not matter).
    void setSearchFilter(QString search);

Q_SIGNALS:
    void itemClicked(TSModel* asset);
    /// A row was double-clicked or activated with the keyboard.
    void itemActivated(TSModel* asset);

private:
    TSModel* modelOf(const QListWidgetItem* item) const;

    QListWidget* m_list;
    QString m_search;
};
