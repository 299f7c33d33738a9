// The board process on POSIX: started with posix_spawn (the host is
// multithreaded, so no fork without exec), connected by a socket pair whose
// other end becomes its descriptor 3 (any shared memory, an anonymous file,
// its descriptor 4), in a process group of its own so that
// a Ctrl-C at the terminal reaches the host alone and the board lives until
// the host lets it go. It ends when its end of the socket reads end-of-file:
// the link closed it, or the host died. A thread of the link's starts it and
// waits for it, so it is reaped the moment it ends; that thread also lives
// as long as the board process, which is what the board's parent-death
// signal watches on Linux (it follows the thread that started the child).

#include "BoardProcessLink.h"

#include "BoardSocket.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include <dlfcn.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace BoardProcessProtocol;

constexpr int BoardDescriptor = 3;
constexpr int SharedDescriptor = 4;
// How long the board process has to go after its socket closed.
constexpr std::chrono::seconds EndingTime{2};
// Beside the library (or program) this code was linked into, else where the
// build put it.
std::string BoardProgram(const char* program, const char* builtAt)
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&StartBoardProcess), &info) != 0 && info.dli_fname != nullptr) {
        std::string beside = info.dli_fname;
        const std::size_t slash = beside.rfind('/');
        beside = (slash == std::string::npos ? std::string() : beside.substr(0, slash + 1)) + program;
        if (access(beside.c_str(), X_OK) == 0)
            return beside;
    }
    return builtAt;
}

// The spawn's settings: the socket's end at descriptor 3, no signal
// blocked, a process group of its own.
class SpawnSetup {
public:
    SpawnSetup(int boardEnd, int shared)
        : shared_(shared >= 0)
    {
        posix_spawn_file_actions_init(&actions_);
        posix_spawn_file_actions_adddup2(&actions_, boardEnd, BoardDescriptor);
        if (shared_)
            posix_spawn_file_actions_adddup2(&actions_, shared, SharedDescriptor);
        posix_spawnattr_init(&attributes_);
        sigset_t none;
        sigemptyset(&none);
        posix_spawnattr_setsigmask(&attributes_, &none);
        posix_spawnattr_setpgroup(&attributes_, 0);
        posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);
    }
    ~SpawnSetup()
    {
        posix_spawn_file_actions_destroy(&actions_);
        posix_spawnattr_destroy(&attributes_);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;

    int Spawn(const std::string& program, pid_t& pid)
    {
        std::string descriptor = std::to_string(BoardDescriptor);
        std::string parent = std::to_string(getpid());
        std::string shared = std::to_string(SharedDescriptor);
        char* arguments[] = {const_cast<char*>(program.c_str()), descriptor.data(), parent.data(),
                             shared_ ? shared.data() : nullptr, nullptr};
        return posix_spawn(&pid, program.c_str(), &actions_, &attributes_, arguments, environ);
    }

private:
    bool shared_;
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
};

class SpawnedBoard : public BoardProcessLink {
public:
    SpawnedBoard(const char* program, const char* builtAt, std::size_t sharedBytes)
    {
        int ends[2] = {-1, -1};
        if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
            std::fprintf(stderr, "%s: no socket for the board process: %s\n", program, std::strerror(errno));
            return;
        }
        socket_ = ends[0];
        const int sharedFile = sharedBytes > 0 ? ShareMemory(program, sharedBytes) : -1;
        watcher_ = std::thread([this, boardEnd = ends[1], sharedFile, path = BoardProgram(program, builtAt)] {
            StartAndAwait(boardEnd, sharedFile, path);
        });
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return started_; });
    }

    ~SpawnedBoard() override
    {
        Drop();
        if (watcher_.joinable()) {
            {
                std::unique_lock<std::mutex> lock(mutex_);
                if (!changed_.wait_for(lock, EndingTime, [this] { return ended_; }) && pid_ > 0)
                    kill(pid_, SIGKILL);
            }
            watcher_.join();
        }
        if (shared_ != nullptr)
            munmap(shared_, sharedBytes_);
    }

    SpawnedBoard(const SpawnedBoard&) = delete;
    SpawnedBoard& operator=(const SpawnedBoard&) = delete;

    void* Shared() override { return shared_; }
    // Until it is reaped, or an exchange found it gone.
    bool Alive() const override { return socket_ >= 0 && alive_.load(std::memory_order_acquire); }

    bool Exchange(const std::vector<std::uint8_t>& request, ReplyHead& head, const Destination& destination,
                  std::size_t& got) override
    {
        got = 0;
        std::uint8_t start[LengthSize + ReplyHeadSize];
        if (socket_ < 0 || !BoardSocket::WriteFully(socket_, request.data(), request.size()) ||
            !BoardSocket::ReadFully(socket_, start, sizeof start))
            return Drop();
        const std::uint32_t length = ReadLength(start);
        if (length < ReplyHeadSize)
            return Drop();
        head = ParseReplyHead(start + LengthSize);
        const std::size_t bytes = length - ReplyHeadSize;
        void* into = bytes > 0 && destination ? destination(head, bytes) : nullptr;
        if (bytes > 0 && (into == nullptr || !BoardSocket::ReadFully(socket_, into, bytes)))
            return Drop();
        got = bytes;
        return true;
    }

private:
    // Closing our end is what tells the board process to go.
    bool Drop()
    {
        if (socket_ >= 0)
            close(socket_);
        socket_ = -1;
        return false;
    }

    // An anonymous file of `bytes` zeros, mapped here; its descriptor, or -1
    // (and no shared memory) when it cannot be made.
    int ShareMemory(const char* program, std::size_t bytes)
    {
        const int file = memfd_create("korvadex-sim-stream", MFD_CLOEXEC);
        void* memory = MAP_FAILED;
        if (file >= 0 && ftruncate(file, static_cast<off_t>(bytes)) == 0)
            memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
        if (memory == MAP_FAILED) {
            std::fprintf(stderr, "%s: no memory shared with the board process: %s\n", program, std::strerror(errno));
            if (file >= 0)
                close(file);
            return -1;
        }
        shared_ = memory;
        sharedBytes_ = bytes;
        return file;
    }

    void StartAndAwait(int boardEnd, int sharedFile, const std::string& program)
    {
        pid_t pid = -1;
        const int error = SpawnSetup(boardEnd, sharedFile).Spawn(program, pid);
        close(boardEnd);
        if (sharedFile >= 0)
            close(sharedFile);
        alive_.store(error == 0, std::memory_order_release);
        if (error != 0)
            std::fprintf(stderr, "cannot start the board process %s: %s\n", program.c_str(), std::strerror(error));
        Publish([&] {
            started_ = true;
            pid_ = error == 0 ? pid : -1;
        });
        if (error == 0) {
            int status = 0;
            while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
            }
        }
        alive_.store(false, std::memory_order_release);
        Publish([&] { ended_ = true; });
    }

    template <typename Change>
    void Publish(Change change)
    {
        {
            const std::lock_guard<std::mutex> guard(mutex_);
            change();
        }
        changed_.notify_all();
    }

    int socket_ = -1;
    std::thread watcher_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool started_ = false;
    bool ended_ = false;
    pid_t pid_ = -1;
    std::atomic<bool> alive_{false};
    void* shared_ = nullptr;
    std::size_t sharedBytes_ = 0;
};

}  // namespace

std::unique_ptr<BoardProcessLink> StartBoardProcess(const char* program, const char* builtAt, std::size_t sharedBytes)
{
    return std::make_unique<SpawnedBoard>(program, builtAt, sharedBytes);
}
