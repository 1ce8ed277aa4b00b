// A file system whose server has stopped answering, for the tests: its root
// lists one subdirectory, silent, but a question about its size (statfs, as
// a drive list asks) and the opening of silent to read it (opendir, as a
// directory list does) are never answered, until the process is killed.
//
//     hungfs <mount point>        mounts in the foreground; kill -9 to end

#define FUSE_USE_VERSION 31
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fuse.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kSilent = "/silent";

int getAttributes(const char* path, struct stat* status, fuse_file_info*)
{
    std::memset(status, 0, sizeof *status);
    if (std::strcmp(path, "/") != 0 && std::strcmp(path, kSilent) != 0)
        return -ENOENT;
    status->st_mode = S_IFDIR | 0755;
    status->st_nlink = 2;
    return 0;
}

int readDirectory(const char* path, void* buffer, fuse_fill_dir_t fill, off_t, fuse_file_info*,
                  fuse_readdir_flags)
{
    if (std::strcmp(path, "/") != 0)
        return -ENOENT;
    fill(buffer, ".", nullptr, 0, fuse_fill_dir_flags{});
    fill(buffer, "..", nullptr, 0, fuse_fill_dir_flags{});
    fill(buffer, kSilent + 1, nullptr, 0, fuse_fill_dir_flags{});
    return 0;
}

[[noreturn]] void neverReturn()
{
    for (;;)
        ::pause();
}

int neverAnswer(const char*, struct statvfs*)
{
    neverReturn();
}

int openDirectory(const char* path, fuse_file_info*)
{
    if (std::strcmp(path, kSilent) == 0)
        neverReturn();
    return std::strcmp(path, "/") == 0 ? 0 : -ENOENT;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::fputs("usage: hungfs <mount point>\n", stderr);
        return 2;
    }
    fuse_operations operations{};
    operations.getattr = getAttributes;
    operations.opendir = openDirectory;
    operations.readdir = readDirectory;
    operations.statfs = neverAnswer;
    char program[] = "hungfs";
    char foreground[] = "-f";
    char* arguments[] = {program, foreground, argv[1], nullptr};
    return fuse_main(3, arguments, &operations, nullptr);
}
