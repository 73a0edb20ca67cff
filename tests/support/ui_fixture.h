#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>

#include "app/app_context.h"
#include "app/main_form.h"
#include "gui/text_codec.h"
#include "tests/support/scripted_platform.h"
#include "tests/support/tree_builder.h"

class QAction;

namespace quillora::testing {

// A temporary program folder (QUILLORA_HOME), a scripted platform and a way to make the main
// window as start-up does.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(home_.isValid());
        qputenv("QUILLORA_HOME", home_.path().toUtf8());
    }
    void TearDown() override {
        form_.reset();
        qunsetenv("QUILLORA_HOME");
    }

    QString Home() const { return home_.path(); }
    QString HomeFile(const QString& name) const { return home_.path() + QLatin1Char('/') + name; }
    QString IniPath() const { return HomeFile(QStringLiteral("Quillora.ini")); }

    void WriteFile(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray ReadFile(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Creates the main window with `arguments` as its command line and lets the start timer run.
    // Its tree model is checked by Qt's model tester for as long as the window lives.
    TMainForm& StartMainForm(const QStringList& arguments = {});

    // The window's registered command `name`, or nullptr.
    QAction* Action(const char* name) const;
    // Triggers the registered command `name` as its menu item or shortcut does; it must be
    // enabled. The second form does not ask: a disabled command then does nothing.
    void Trigger(const char* name);
    void TriggerAsItIs(const char* name);

    ScriptedPlatform platform_;
    QTemporaryDir home_;
    AppContext context_;
    std::unique_ptr<TMainForm> form_;
};

}  // namespace quillora::testing
