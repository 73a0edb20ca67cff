#include "tests/support/ui_fixture.h"

#include <QAbstractItemModelTester>
#include <QAction>
#include <QTest>
#include <QTimer>

#include "gui/app_paths.h"
#include "gui/note_tree_model.h"

namespace quillora::testing {

TMainForm& UiTest::StartMainForm(const QStringList& arguments) {
    context_.settings_file = std::make_unique<ProfileFile>(ToNative(SettingsFilePath()));
    context_.arguments = arguments;
    form_ = std::make_unique<TMainForm>(context_);
    new QAbstractItemModelTester(
        form_->TreeModel(), QAbstractItemModelTester::FailureReportingMode::Fatal, form_.get());
    form_->show();
    // The start timer fires once, 180 ms after creation.
    auto* timer = form_->findChild<QTimer*>(QStringLiteral("Timer"));
    EXPECT_TRUE(timer != nullptr);
    if (timer) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 5000));
    }
    return *form_;
}

QAction* UiTest::Action(const char* name) const {
    if (!form_ || !form_->Actions().HasAction(name)) return nullptr;
    return &form_->Actions().Action(name);
}

void UiTest::Trigger(const char* name) {
    QAction* action = Action(name);
    ASSERT_NE(action, nullptr) << name;
    EXPECT_TRUE(action->isEnabled()) << name << " is disabled";
    action->trigger();
}

void UiTest::TriggerAsItIs(const char* name) {
    QAction* action = Action(name);
    ASSERT_NE(action, nullptr) << name;
    action->trigger();
}

}  // namespace quillora::testing
