#pragma once
// The few system calls a save makes, behind one interface: the program uses them as they are; a test derives from it to
// make one of them fail, or to stop the process at one of them, and passes it to the save.
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/types.h>

namespace lintora {

class SystemCalls {
public:
    virtual ~SystemCalls() = default;
    // Each returns what the system call returns (-1 with errno on failure).
    virtual int OpenAt(int dir, const std::string& name, int flags, mode_t mode = 0);
    // A new file in the folder dir that has no name yet (O_TMPFILE, which fails with EOPNOTSUPP, EISDIR or EINVAL where
    // the file system cannot make one), opened for flags; it can be given a name by LinkAt.
    virtual int OpenNameless(int dir, int flags, mode_t mode);
    // Gives the file open at fd the name name in dir, never over a file that is there.
    virtual int LinkAt(int fd, int dir, const std::string& name);
    virtual int Close(int fd);
    virtual int Status(int fd, struct stat& st);
    // The status of what name in dir names, a link itself where it is one.
    virtual int StatusAt(int dir, const std::string& name, struct stat& st);
    // Whether this user (his effective ids) may use name in dir as mode asks.
    virtual int Access(int dir, const std::string& name, int mode);
    // The path of the folder the process works in.
    virtual int CurrentFolder(std::string& path);
    // The text of the link open (O_PATH | O_NOFOLLOW) at fd.
    virtual int ReadLink(int fd, std::string& target);
    virtual ssize_t ReadAt(int fd, char* into, std::size_t size, off_t at);
    virtual ssize_t WriteAt(int fd, const char* from, std::size_t size, off_t at);
    // Makes the file at fd, size bytes long, hold nothing but zeros, as long as length where that is shorter: where the
    // file system can, its blocks are kept as they are, which costs a write over them far less than new ones; else it
    // is cut to nothing.
    virtual int Clear(int fd, off_t size, off_t length);
    virtual int Sync(int fd);
    // Within one folder; the second never replaces a file that is there.
    virtual int Rename(int dir, const std::string& from, const std::string& to);
    virtual int RenameNoReplace(int dir, const std::string& from, const std::string& to);
    virtual int Unlink(int dir, const std::string& name);
    // A second name to for the file from, never over a file that is there.
    virtual int Link(int dir, const std::string& from, const std::string& to);
    // The longest name a file of the folder open at dir may have (-1 where it has no limit, or with errno).
    virtual long NameMax(int dir);
    virtual int MakeFolder(int dir, const std::string& name, mode_t mode);
    virtual int ChangeOwner(int fd, uid_t uid, gid_t gid);
    virtual int ChangeMode(int fd, mode_t mode);
    virtual ssize_t ListAttributes(int fd, char* into, std::size_t size);
    virtual ssize_t GetAttribute(int fd, const std::string& name, char* into, std::size_t size);
    virtual int SetAttribute(int fd, const std::string& name, const std::string& value);
    virtual int RemoveAttribute(int fd, const std::string& name);
    // A lock on length bytes from start, held by the open file description (closing it lets the lock go), never waited
    // for: F_RDLCK needs the file open for reading, F_WRLCK for writing (so that a user who may only read a file cannot
    // take it); F_UNLCK lets it go. -1 with EAGAIN while another description holds a lock that stands in the way.
    virtual int LockRange(int fd, short type, off_t start, off_t length);
    // The kind of lock another description holds that stands in the way of one of type there (F_UNLCK where none
    // does), and where asked that lock (its start; its holder's process id, -1 for an OFD lock); -1 with errno.
    virtual int LockInTheWay(int fd, short type, off_t start, off_t length, struct flock* lock = nullptr);
    // The kind of file system of fd (statfs's f_type) and, for a network one (NFS, CIFS, SMB), the options it is
    // mounted with ("" for others): what tells whether its locks reach every saver. 0, or -1 with errno.
    virtual int FileSystem(int fd, std::uint64_t& type, std::string& options);
    // The login name of the user of that number; "" where the system knows none.
    virtual std::string UserNameOf(uid_t uid);
    // Who the program runs as: its user, its group and its other groups.
    virtual uid_t User();
    virtual gid_t Group();
    virtual std::vector<gid_t> OtherGroups();
    // The names in a folder (its own "." and ".." left out); 0, or the error.
    virtual int ListNames(int folder, std::vector<std::string>& names);
    // This process, the boot of the system it runs on, and the host's name.
    virtual pid_t ProcessId();
    virtual std::string BootId();
    virtual std::string HostName();
    // True while a process of that id runs on this boot of this host.
    virtual bool ProcessRuns(pid_t pid);
    // When the process of that id started, in clock ticks since the boot
    // (the 22nd field of /proc/<pid>/stat); 0 where it cannot be told.
    virtual std::uint64_t ProcessStart(pid_t pid);
    // Removes the empty folder name in dir.
    virtual int RemoveFolder(int dir, const std::string& name);
    // The time now, and a wait: a test passes time without waiting it.
    virtual std::chrono::system_clock::time_point Now();
    virtual void Sleep(std::chrono::milliseconds length);
};

// The system itself.
SystemCalls& RealSystem();

// Renames from to to in dir where the file system cannot rename without replacing: a second name, then the first one
// goes; where it cannot go, the second one goes again. 0, or -1 with errno.
int RenameByLink(SystemCalls& sys, int dir, const std::string& from, const std::string& to);

// Writes contents from the start of fd; 0, or the error. Given last (the file's status after its clear), each write is
// made only while the file's size and change time are as the last left them: else kWrittenMeanwhile, no more written.
constexpr int kWrittenMeanwhile = -1;
int WriteWhole(SystemCalls& sys, int fd, const std::string& contents, struct stat* last = nullptr);
// Reads fd from its start to its end; 0, or the error.
int ReadWhole(SystemCalls& sys, int fd, std::string& contents);

// A descriptor closed (through the calls that opened it) with its scope.
class Descriptor {
public:
    Descriptor() = default;
    Descriptor(SystemCalls& sys, int fd) : sys_(&sys), fd_(fd) {}
    Descriptor(Descriptor&& other) noexcept : sys_(other.sys_), fd_(other.Release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept;
    ~Descriptor() { (void)Close(); }
    int get() const { return fd_; }
    bool open() const { return fd_ >= 0; }
    // 0, or the error of the close.
    int Close();
    int Release();

private:
    SystemCalls* sys_ = nullptr;
    int fd_ = -1;
};

}  // namespace lintora
