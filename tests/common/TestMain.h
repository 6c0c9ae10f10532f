#pragma once
// Test entry points that give each test process its own temporary folder, settings store, home
// and data folders, so tests never touch the user's own files or settings.

#include <QCoreApplication>
#include <QDir>
#include <QtTest>

#include <cstdlib>
#include <string>

namespace test {

class IsolatedEnvironment
{
public:
    IsolatedEnvironment()
    {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/bonestage-test-XXXXXX";
        if (char* root = mkdtemp(pattern.data())) {
            m_root = QString::fromLocal8Bit(root);
        }
        for (const char* name : {"tmp", "config", "data", "cache", "runtime", "home"}) {
            QDir(m_root).mkpath(QLatin1String(name));
        }
        QFile::setPermissions(m_root + QStringLiteral("/runtime"), QFileDevice::ReadOwner |
                                                                       QFileDevice::WriteOwner |
                                                                       QFileDevice::ExeOwner);
        set("TMPDIR", "tmp");
        set("XDG_CONFIG_HOME", "config");
        set("XDG_DATA_HOME", "data");
        set("XDG_CACHE_HOME", "cache");
        set("XDG_RUNTIME_DIR", "runtime");
        set("HOME", "home");
    }

    ~IsolatedEnvironment()
    {
        if (!m_root.isEmpty()) {
            QDir(m_root).removeRecursively();
        }
    }

    IsolatedEnvironment(const IsolatedEnvironment&) = delete;
    IsolatedEnvironment& operator=(const IsolatedEnvironment&) = delete;

private:
    void set(const char* variable, const char* folder)
    {
        qputenv(variable, (m_root + QLatin1Char('/') + QLatin1String(folder)).toLocal8Bit());
    }

    QString m_root;
};

} // namespace test

#define BONESTAGE_TEST_MAIN_WITH(ApplicationClass, TestObject)                                                      \
    int main(int argc, char** argv)                                                                                 \
    {                                                                                                               \
        test::IsolatedEnvironment environment;                                                                      \
        ApplicationClass app(argc, argv);                                                                           \
        QCoreApplication::setOrganizationName(QStringLiteral("wrenfold"));                                          \
        QCoreApplication::setApplicationName(QStringLiteral("Bonestage"));                                          \
        TestObject tc;                                                                                              \
        QTEST_SET_MAIN_SOURCE_PATH                                                                                  \
        return QTest::qExec(&tc, argc, argv);                                                                       \
    }

/// A test without a GUI (QCoreApplication).
#define BONESTAGE_GUILESS_TEST_MAIN(TestObject) BONESTAGE_TEST_MAIN_WITH(QCoreApplication, TestObject)
/// A test that paints or reads images with fonts (QGuiApplication).
#define BONESTAGE_GUI_TEST_MAIN(TestObject) BONESTAGE_TEST_MAIN_WITH(QGuiApplication, TestObject)
/// A test of widgets (QApplication).
#define BONESTAGE_WIDGETS_TEST_MAIN(TestObject) BONESTAGE_TEST_MAIN_WITH(QApplication, TestObject)
