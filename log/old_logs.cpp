// Members of clsLogShare (log/cls_log_share.h), kept apart by concept: the
// log writer's clean-up of old dated log files in its folder.
#include "log/cls_log_share.h"

#include "log/civil_date.h"
#include "platform/text.h"

namespace brantvell {

// Only names this writer itself makes in a dated mode are candidates: an
// optional kind part with "_", the prefix with "_" when there is one, six
// digits and the extension. A broader rule ("anything with six digits after
// the last underscore") would delete other programs' files sharing the
// folder, such as the temporary folder the program logs to.
bool clsLogShare::IsOwnDatedLogName(const std::string& name, std::string* date_field) {
  std::string lower = ToLower(name);
  std::string prefix = file_name_prefix_.empty() ? "" : ToLower(file_name_prefix_) + "_";
  std::string extension = file_name_extension_.empty() ? "" : "." + ToLower(file_name_extension_);
  std::vector<std::string> heads = {prefix};
  for (int32_t kind = 0; kind < kKindCount; ++kind)
    heads.push_back(ToLower(KindName(kind)) + "_" + prefix);
  for (const std::string& head : heads) {
    if (lower.size() != head.size() + 6 + extension.size()) continue;
    if (lower.compare(0, head.size(), head) != 0) continue;
    if (lower.compare(head.size() + 6, std::string::npos, extension) != 0) continue;
    std::string field = lower.substr(head.size(), 6);
    if (field.find_first_not_of("0123456789") != std::string::npos) continue;
    *date_field = field;
    return true;
  }
  return false;
}

namespace {

// The date field as dated names are read in general: it starts after the
// last "_" (at the name's start without one) and is at most as many
// characters long as the position of the last "." counted from 1 (the whole
// rest without a dot); only its first six characters count. False unless
// there are exactly six.
bool CutDateField(const std::string& name, std::string* field) {
  size_t underscore = name.rfind('_');
  size_t dot = name.rfind('.');
  size_t start = underscore == std::string::npos ? 0 : CharCount(name.substr(0, underscore)) + 1;
  size_t length = dot == std::string::npos ? std::string::npos : CharCount(name.substr(0, dot)) + 1;
  *field = CharSubstr(CharSubstr(name, start, length), 0, 6);
  return CharCount(*field) == 6;
}

// The day of a "yymmdd" field of this century, with carry for out-of-range
// months and days. False when the field is not six digits.
bool FieldDay(const std::string& field, int64_t* day) {
  if (field.size() != 6 || field.find_first_not_of("0123456789") != std::string::npos) return false;
  *day = DaysFromDateParts(2000 + std::stoi(field.substr(0, 2)), std::stoi(field.substr(2, 2)),
                           std::stoi(field.substr(4, 2)));
  return true;
}

}  // namespace

bool clsLogShare::DeleteOldLogs(int32_t lngDays, int32_t /*eType*/) {
  try {
    const std::string folder = directory_;
    std::vector<std::string> names;
    if (!services_.files->ListFolder(folder, &names)) return true;
    LocalDateTime now = services_.clock->Now();
    int64_t limit = DaysFromCivil(now.year, now.month, now.day) - static_cast<int64_t>(lngDays);
    for (const std::string& name : names) {
      try {
        if (name == "." || name == "..") continue;
        if (services_.files->IsFolder(folder + name)) continue;
        // Two readings must both find an old date: the general date cut, and
        // the names this writer makes. The second alone would also take
        // names the cut keeps, such as "x.y_261101" with the prefix "x.y".
        std::string own_field, cut_field;
        int64_t own_day = 0, cut_day = 0;
        if (!IsOwnDatedLogName(name, &own_field) || !CutDateField(name, &cut_field)) continue;
        if (!FieldDay(own_field, &own_day) || !FieldDay(cut_field, &cut_day)) continue;
        if (limit > own_day && limit > cut_day) services_.files->DeleteFile(folder + name);
      } catch (...) {
      }
    }
  } catch (...) {
  }
  return true;
}

}  // namespace brantvell
