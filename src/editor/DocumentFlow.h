#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class DocumentController;
class HistoryManager;
class QWidget;

/// The document's lifecycle as the user meets it: the question about unsaved changes, the file
/// choosers, the progress window while saving and the boxes when something fails. The window
/// resets and refreshes its panels on the signals.
class DocumentFlow : public QObject
{
    Q_OBJECT

public:
    DocumentFlow(QWidget* window, DocumentController* document, HistoryManager* history);

    /// Where the file choosers start: the last document's path, else the documents folder.
    static QString openSavePath();
    static QString documentFilter();

    bool isSaving() const { return m_saving; }
    /// Asks for a document to open; empty when cancelled.
    QString choose();
    /// Whether path is a file to open; else the box "File does not exist. ".
    bool checkExists(const QString& path);
    /// Replaces the document, asking first about unsaved changes; false when the user cancelled,
    /// the save before it failed, or the document could not be read.
    bool load(const QString& path, bool isTemplate);
    /// Replaces the document by the recovery state of another editor's working folder session,
    /// asking first about unsaved changes; the recovered document counts as changed until saved.
    bool recover(const QString& session);
    /// Saves in place, or asks for a name for a new or template document.
    bool save();
    /// Asks for a name and saves there.
    bool saveAs();
    /// Writes the document to path behind a progress window; true when it was written.
    bool write(const QString& path);
    /// Whether the window may close: asks about unsaved changes and saves when asked to.
    bool confirmClose();

Q_SIGNALS:
    /// The open document is about to be replaced.
    void aboutToLoad();
    /// A document was loaded (loaded true) or failed to load (the editor is empty).
    void loadFinished(bool loaded);
    /// The document was written to path.
    void saved(const QString& path);

private:
    /// Replaces the document through read (load or recovery); false when it failed.
    bool replaceDocument(const std::function<bool(QString* error)>& read);
    /// Yes, No or Cancel to unsaved changes; false when the caller must stop.
    bool settleChanges(const QString& question);

    QWidget* m_window;
    QPointer<DocumentController> m_document;
    QPointer<HistoryManager> m_history;
    bool m_saving = false;
};
