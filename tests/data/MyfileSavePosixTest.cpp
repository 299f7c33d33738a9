// Saving where POSIX lets a test break the disk: a full device, a folder the
// user may not write to, a file-size limit hit part-way through.

#include "MyfileSaveFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/fsuid.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <string>

namespace {

TEST_F(MyfileSave, ReportsAFullDiskAsFailure)
{
    if (!QFileInfo::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    Fill(arrays.Ch0, {1, 2, 3});
    EXPECT_FALSE(file.SaveFile1CH("/dev/full", &settings, &arrays.Ch0));
    EXPECT_EQ(prompt.Asked, 1) << "it exists, so the operator is asked first";
    EXPECT_FALSE(QFileInfo("/dev/full").isFile()) << "the device must stay a device";
}

// Takes away root's right to override file permissions from this thread: its
// file-system user and group are unprivileged ones for the scope's life.
class Unprivileged {
public:
    Unprivileged()
    {
        if (root_) {
            setfsgid(Nobody);
            setfsuid(Nobody);
        }
    }
    ~Unprivileged()
    {
        if (root_) {
            setfsuid(0);
            setfsgid(0);
        }
    }

private:
    static constexpr uid_t Nobody = 65534;
    const bool root_ = geteuid() == 0;
};

TEST_F(MyfileSave, OverwritesAWritableFileInAFolderItMayNotWriteTo)
{
    Fill(arrays.Ch0, {8388610, -5});
    ASSERT_TRUE(file.SaveFile1CH(Path("expected.DTA"), &settings, &arrays.Ch0));
    QDir().mkdir(Path("locked"));
    // Longer than the new file, so nothing of it may remain.
    folder.Write("locked/run.DTA", std::string(1000, 'x'));
    const auto setMode = [this](const char* name, mode_t mode) { chmod(Path(name).toLocal8Bit().constData(), mode); };
    setMode(".", 0711);
    setMode("locked/run.DTA", 0666);
    setMode("locked", 0555);
    bool locked = false;
    bool overwritten = false;
    bool created = true;
    {
        const Unprivileged user;
        QFile probe(Path("locked/probe"));
        locked = !probe.open(QIODevice::WriteOnly);
        overwritten = file.SaveFile1CH(Path("locked/run.DTA"), &settings, &arrays.Ch0);
        created = file.SaveFile1CH(Path("locked/new.DTA"), &settings, &arrays.Ch0);
    }
    setMode("locked", 0755);
    if (!locked)
        GTEST_SKIP() << "this thread may create files in any folder here";
    EXPECT_TRUE(overwritten);
    EXPECT_EQ(folder.Read("locked/run.DTA"), folder.Read("expected.DTA"));
    EXPECT_FALSE(created) << "a file that does not exist yet cannot be made there";
    EXPECT_EQ(QDir(Path("locked")).entryList(QDir::Files | QDir::Hidden), QStringList{"run.DTA"});
}

// Lets a test make every write past a size fail, the way a full disk does
// part-way through a save.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};

TEST_F(MyfileSave, AFailedSaveLeavesTheEarlierFileWhole)
{
    const std::string earlier = WithCrLf("AD7175_DataFile:\nthe earlier run\n");
    folder.Write("keep.DTA", earlier);
    arrays.Ch0.Count = arrays.Ch1.Count = 100000;
    bool saved = true;
    {
        const FileSizeLimit limit(256 * 1024);
        saved = file.SaveFile2CH(Path("keep.DTA"), &settings, &arrays.Ch0, &arrays.Ch1);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(folder.Read("keep.DTA"), earlier);
    EXPECT_EQ(folder.Entries(), QStringList{"keep.DTA"}) << "the partial temporary file is removed";
}

} // namespace
