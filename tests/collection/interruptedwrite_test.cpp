// A write killed at any moment leaves the complete old or the complete new collection.

#include "collection/writer.h"
#include "collectionsupport.h"
#include "core/state.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace collection;

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(fehlt)");
}

Collection sized(const core::State& state, int entries, const QString& name) {
    Collection collection = emptyCollection(state);
    for (int i = 0; i < entries; ++i)
        collection.entries.push_back(
            testsupport::entry({{0, name + QString::number(i)},
                                {1, QStringLiteral("Beschreibung mit Umlauten: äöü")},
                                {2, QStringLiteral("f(x)=a*x^2+b*x+c\r\ng(x)=sin(x)")},
                                {3, QStringLiteral("a=1\r\nb=2\r\nc=3")},
                                {4, QStringLiteral("a[-10;10]\r\nb[-10;10]\r\nc[-10;10]")}}));
    return collection;
}

TEST(InterruptedWrite, LeavesTheOldOrTheNewFile) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString path = folder.filePath(QStringLiteral("kurvatur.tmp"));
    core::State state;
    Collection versions[2] = {sized(state, 400, QStringLiteral("alt ")),
                              sized(state, 300, QStringLiteral("neu "))};
    const QByteArray bytes[2] = {collectionBytes(versions[0], state),
                                 collectionBytes(versions[1], state)};
    ASSERT_TRUE(writefile(versions[0], path, state, false).ok);

    // How long one write takes here, so that the kills fall before, inside and after it.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(writefile(versions[0], path, state, false).ok);
    const auto oneWrite = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    const int latest = int(std::min<long long>(oneWrite.count() * 3 / 2 + 1000, 200000));

    std::mt19937 random(42);
    int current = 0;
    int completed = 0; // writes that replaced the file before their kill
    for (int attempt = 0; attempt < 200; ++attempt) {
        const int next = 1 - current;
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool ok = writefile(versions[next], path, state, false).ok;
            _exit(ok ? 0 : 1);
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, latest)(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);

        const QByteArray now = contents(path);
        ASSERT_TRUE(now == bytes[current] || now == bytes[next])
            << "attempt " << attempt << ": " << now.size() << " bytes";
        if (now == bytes[next]) {
            current = next;
            ++completed;
        }
    }
    // The kills fell before the replacement and after it.
    EXPECT_GT(completed, 0);
    EXPECT_LT(completed, 200);
}

} // namespace
