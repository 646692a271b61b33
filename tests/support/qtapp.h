#pragma once
// What the Qt-based test programs share: one application object for the whole program (fonts and
// widgets need it), always on the offscreen platform unless told otherwise, and readable QStrings
// in failure messages.

#include "support/printing.h"

#include <QCoreApplication>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

template <class App> class AppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", QByteArrayLiteral("offscreen"));
        app_ = std::make_unique<App>(argc_, argv_);
    }
    void TearDown() override { app_.reset(); }

private:
    int argc_ = 1;
    char name_[12] = "kurvatur";
    char* argv_[2] = {name_, nullptr};
    std::unique_ptr<App> app_;
};

// Registers the application once per test program, however many files ask for it.
template <class App> inline bool useApplication() {
    static const bool registered =
        (::testing::AddGlobalTestEnvironment(new AppEnvironment<App>), true);
    return registered;
}

} // namespace testsupport
