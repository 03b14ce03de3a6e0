#include "Platform/Foundation/FileIO.hpp"

#include <cerrno>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <unistd.h>

namespace Foundation::FileIO {
namespace {

struct Pipe {
    int ends[2] = {-1, -1};
    Pipe() { EXPECT_EQ(::pipe(ends), 0); }
    ~Pipe()
    {
        closeWriting();
        if (ends[0] >= 0)
            ::close(ends[0]);
    }
    void closeWriting()
    {
        if (ends[1] >= 0)
            ::close(ends[1]);
        ends[1] = -1;
    }
};

} // namespace

TEST(FileIOTest, ACallIsMadeAgainOnlyWhileASignalInterruptsIt)
{
    int calls = 0;
    auto interruptedTwice = [&] {
        errno = ++calls <= 2 ? EINTR : 0;
        return calls <= 2 ? -1 : 5;
    };
    EXPECT_EQ(retryingInterruptions(interruptedTwice), 5);
    EXPECT_EQ(calls, 3);

    calls = 0;
    auto failing = [&] {
        ++calls;
        errno = EIO;
        return -1;
    };
    EXPECT_EQ(retryingInterruptions(failing), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_EQ(calls, 1);
}

TEST(FileIOTest, ReadsFillAcrossPiecesUntilTheEndAndWritesDeliverEveryByte)
{
    Pipe pipe;
    // More than a pipe holds, so the write only finishes while the other side reads.
    const std::string sent(1 << 20, 'x');
    std::thread writer([&] {
        EXPECT_EQ(writeAll(pipe.ends[1], sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
        EXPECT_EQ(writeAll(pipe.ends[1], "tail", 4), 4);
        pipe.closeWriting();
    });
    std::string received(sent.size(), '\0');
    EXPECT_EQ(readFully(pipe.ends[0], received.data(), received.size()), static_cast<ssize_t>(sent.size()));
    EXPECT_EQ(received, sent);
    char rest[16] = {};
    EXPECT_EQ(readFully(pipe.ends[0], rest, sizeof rest), 4);
    EXPECT_EQ(std::string(rest, 4), "tail");
    EXPECT_EQ(readSome(pipe.ends[0], rest, sizeof rest), 0);
    writer.join();

    EXPECT_EQ(readSome(-1, rest, sizeof rest), -1);
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(writeAll(-1, "x", 1), -1);
    EXPECT_EQ(errno, EBADF);
}

} // namespace Foundation::FileIO
