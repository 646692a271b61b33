#pragma once
// What the tests of collection commands start from: a started session on a configuration
// folder of its own, with the working copy of its collection open and its messages recorded.

#include "collection/collectionstate.h"
#include "core/state.h"
#include "session/startup.h"

#include "support/recordingmessages.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace testsupport {

class OpenCollection : public ::testing::Test {
protected:
    void SetUp() override { open(folder.path()); }

    // Starts the session on configFolder (inside folder) and opens the collection.
    void open(const QString& configFolder) {
        ASSERT_TRUE(folder.isValid());
        state.messages = messages;
        state.configFolder = configFolder;
        session::startupState(state);
        state.busyFlag = 0;
        collection::openWorkingCopy(keeper, state);
    }

public: // tests may hand the fixture's parts to helpers outside it
    QTemporaryDir folder;
    std::shared_ptr<platform::RecordingMessages> messages =
        std::make_shared<platform::RecordingMessages>();
    core::State state;
    collection::CollectionState keeper;
};

} // namespace testsupport
