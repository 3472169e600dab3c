#include "ActivityFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace zelhost::ActivityFile {
namespace {

[[noreturn]] void fail(const std::string& what, int error)
{
    throw std::runtime_error(what + ": " + std::strerror(error));
}

} // namespace

std::string read(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void writeAtomically(const std::filesystem::path& file, const std::string& data)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    std::string temp = (folder / ("." + file.filename().string() + ".XXXXXX")).string();
    const int fd = mkstemp(temp.data());
    if (fd < 0)
        fail("cannot create a temporary file beside " + file.string(), errno);

    auto abandon = [&](const std::string& what) {
        const int error = errno;
        close(fd);
        unlink(temp.c_str());
        fail(what, error);
    };
    struct stat original
    {
    };
    if (stat(file.c_str(), &original) == 0 && fchmod(fd, original.st_mode & 07777) != 0)
        abandon("cannot copy the permissions of " + file.string());
    std::size_t written = 0;
    while (written < data.size()) {
        const ssize_t n = write(fd, data.data() + written, data.size() - written);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            abandon("cannot write " + temp);
        }
        written += static_cast<std::size_t>(n);
    }
    if (fsync(fd) != 0)
        abandon("cannot flush " + temp);
    if (close(fd) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        fail("cannot close " + temp, error);
    }
    if (rename(temp.c_str(), file.c_str()) != 0) {
        const int error = errno;
        unlink(temp.c_str());
        fail("cannot replace " + file.string(), error);
    }
    // The rename itself reaches the disk with the folder's entry.
    const int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

} // namespace zelhost::ActivityFile
