#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <string>

namespace cocos2d {
class CCArray;
class CCDictionary;
} // namespace cocos2d

class TSModel;

/// The process-wide owner of every model of the open document: creates models by class name,
/// gives them ids, finds them by id or class, removes them, and saves and loads them.
class TSModelController : public QObject
{
    Q_OBJECT

public:
    using Factory = std::function<TSModel*()>;

    ~TSModelController() override;

    /// The controller, created on first use (as a child of the application object when there is
    /// one, so it goes with it); creation adds a general settings model.
    static TSModelController* instance();
    /// Destroys the controller now (the next instance() creates a fresh one).
    static void destroyInstance();

    /// Increments the process-wide id counter and returns it; the first id is 1.
    static unsigned nextId();
    static unsigned currentId();
    static void setCurrentId(unsigned id);

    /// Registers or replaces the factory of a class name; registrations last for the process.
    static void registerClass(const std::string& className, Factory factory);
    static bool isRegistered(const std::string& className);
    /// Registered class names, sorted byte for byte.
    static std::vector<std::string> registeredClasses();

    /// A new model of a registered class (owned by the caller, not yet added), or null.
    TSModel* createModel(const std::string& className) const;
    /// With replaceSame, first removes every model of the class that isSameAs(model); then
    /// appends and retains the model and enters its id.
    void addModel(TSModel* model, bool replaceSame);
    void removeModel(TSModel* model);
    /// Takes every model of the class out, each through its removeFromController().
    void removeModelsOfClass(const std::string& className);
    TSModel* modelWithId(unsigned id) const;
    /// The controller's own array of the class, or null when the class has no models.
    cocos2d::CCArray* modelsOfClass(const std::string& className) const;
    /// Class names in the order in which the classes first received a model.
    std::vector<std::string> classesWithModels() const;
    /// The first animation model whose name equals name byte for byte.
    TSModel* animationWithName(const std::string& name) const;
    /// Removes every model and adds a fresh general settings model; ids keep growing.
    void reset();

    /// The working folder of the open project; empty while there is none.
    QString workingPath() const { return m_workingPath; }

    /// Formats printf-style into at most 254 characters and writes a debug message.
    static void log(const char* format, ...) __attribute__((format(printf, 1, 2)));

Q_SIGNALS:
    void saveProgress(double progress);

private:
    explicit TSModelController(QObject* parent);
    void removeAllModels();
    void addFreshGeneralSettings();

    cocos2d::CCDictionary* m_modelsByClass;
    std::map<unsigned, TSModel*> m_modelsById;
    QString m_workingPath;

    static QPointer<TSModelController> s_instance;
};
