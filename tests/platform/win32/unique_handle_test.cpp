#include "platform/win32/unique_handle.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "platform/win32/win32_text.h"
#include "tests/support/temp_folder.h"

namespace brantvell {
namespace {

// Handles are addresses of slots; closing one records it.
std::vector<int*> closed;
void RecordClose(int* handle) { closed.push_back(handle); }
using Owner = UniqueHandle<int*, RecordClose>;

TEST(UniqueHandleTest, ClosesExactlyTheHandlesItStillOwns) {
  int a = 0, b = 0, c = 0;
  closed.clear();
  {
    Owner kept(&a);
    Owner handed_on(&b);
    EXPECT_EQ(handed_on.release(), &b);
    EXPECT_FALSE(handed_on);
    Owner replaced(&c);
    replaced.reset(&a);  // closes c now
    EXPECT_EQ(closed, std::vector<int*>{&c});
    Owner moved(std::move(replaced));
    EXPECT_FALSE(replaced);
    EXPECT_EQ(moved.get(), &a);
    kept.release();
    Owner never;  // holds the invalid value: nothing to close
    *never.put() = nullptr;
  }
  EXPECT_EQ(closed, (std::vector<int*>{&c, &a}));
}

TEST(UniqueHandleTest, FileIsClosedWhenItsOwnerGoes) {
  TempFolder temp;
  const std::wstring path = Widen(temp / "locked");
  auto open_exclusive = [&] {
    return UniqueFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  };
  {
    UniqueFile first = open_exclusive();
    ASSERT_TRUE(first);
    // Not shared: a second open fails while the first owner holds the file.
    UniqueFile second = open_exclusive();
    EXPECT_FALSE(second);
    EXPECT_EQ(second.get(), INVALID_HANDLE_VALUE);
  }
  EXPECT_TRUE(open_exclusive());
}

}  // namespace
}  // namespace brantvell
