#include <gtest/gtest.h>

#include <QApplication>

#include "gui/action_registry.h"
#include "gui/immediate_access_keys.h"

// UI tests share one QApplication; each test builds its own windows on it.
int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    quillora::ActionRegistry::SetStrict(true);
    quillora::InstallImmediateAccessKeys();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
