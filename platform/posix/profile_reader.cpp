#include "platform/profile_reader.h"

#include "platform/posix/posix.h"

#include <sys/stat.h>

#include <map>
#include <utility>

#include "platform/host_path.h"
#include "platform/posix/input_file.h"
#include "platform/profile_text.h"
#include "platform/service_instance.h"

namespace brantvell {

namespace {

// An INI file is a few lines of settings; a larger one is not one and is
// not read (as a missing file).
constexpr off_t kMaxProfileBytes = 1 << 20;

// Whether two stats name the same file as it was: the same inode, size and
// change times. An edit or a file put in its place changes one of them.
bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
         a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec &&
         a.st_ctim.tv_sec == b.st_ctim.tv_sec && a.st_ctim.tv_nsec == b.st_ctim.tv_nsec;
}

// Every question is answered from the file as it is at that moment, as the
// log configuration wants edits seen at once; the file is read again only
// when its stat has changed, and each answer is worked out once per
// version of the file.
class PosixProfileReader : public ProfileReader {
 public:
  std::string Read(const std::string& path, const std::string& section,
                   const std::string& key) override {
    std::string host;
    struct stat now;
    if (!ToHostPath(path, &host) || ::stat(host.c_str(), &now) != 0 || !S_ISREG(now.st_mode)) {
      files_.erase(path);
      return std::string();
    }
    Version& file = files_[path];
    if (!file.read || file.host != host || !SameFile(file.info, now)) {
      file = Version();
      file.host = host;
      file.read = true;
      // A file that cannot be read answers "" until it changes.
      if (!ReadInput(host, kMaxProfileBytes, &file.text, 0, &file.info)) {
        file.text.clear();
        file.info = now;
      }
    }
    auto question = std::make_pair(section, key);
    auto answer = file.answers.find(question);
    if (answer == file.answers.end())
      answer = file.answers.emplace(question, ProfileValue(file.text, section, key)).first;
    return answer->second;
  }

 private:
  struct Version {
    bool read = false;
    std::string host;
    struct stat info {};
    std::string text;
    std::map<std::pair<std::string, std::string>, std::string> answers;
  };
  std::map<std::string, Version> files_;
};

}  // namespace

ProfileReader& ProfileReader::Real() { return ServiceInstance<PosixProfileReader>(); }

}  // namespace brantvell
