#include "tests/support/ui_fixture.h"

#include <QTest>
#include <QTimer>

#include "gui/app_paths.h"

namespace quillora::testing {

TMainForm& UiTest::StartMainForm(const QStringList& arguments) {
    context_.settings_file = std::make_unique<ProfileFile>(ToNative(SettingsFilePath()));
    context_.arguments = arguments;
    form_ = std::make_unique<TMainForm>(context_);
    form_->show();
    // The start timer fires once, 180 ms after creation.
    auto* timer = form_->findChild<QTimer*>(QStringLiteral("Timer"));
    EXPECT_TRUE(timer != nullptr);
    if (timer) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !timer->isActive(); }, 5000));
    }
    return *form_;
}

}  // namespace quillora::testing
