// The file-system helpers that remove folder trees.
#include <gtest/gtest.h>

#include "fs.h"
#include "support/test_support.h"

namespace stelvane {
namespace {

TEST(FolderTree, ALinkInsideTheTreeIsNotFollowed) {
  test::TempFolder doomed;
  test::TempFolder elsewhere;
  test::writeBytes(elsewhere.file(L"precieux.txt"), "garder");
  ASSERT_TRUE(createFolderTree(elsewhere.file(L"sous")));
  test::writeBytes(elsewhere.file(L"sous\\aussi.txt"), "garder");
  test::writeBytes(doomed.file(L"a.txt"), "a");
  ASSERT_TRUE(createFolderTree(doomed.file(L"b")));
  test::writeBytes(doomed.file(L"b\\c.txt"), "c");
  ASSERT_TRUE(test::makeDirectoryLink(doomed.file(L"b\\lien"), elsewhere.path()));
  ASSERT_TRUE(GetFileAttributesW(doomed.file(L"b\\lien").c_str()) & FILE_ATTRIBUTE_REPARSE_POINT);

  deleteFolderTree(doomed.path());
  // Where the link pointed, nothing is touched (the system may or may not
  // let the link itself go: Wine cannot remove a host link).
  EXPECT_EQ(test::readBytes(elsewhere.file(L"precieux.txt")), "garder");
  EXPECT_EQ(test::readBytes(elsewhere.file(L"sous\\aussi.txt")), "garder");
  test::removeDirectoryLink(doomed.file(L"b\\lien"));

  // Nor when the folder to delete is a link itself.
  ASSERT_TRUE(test::makeDirectoryLink(doomed.file(L"lien"), elsewhere.path()));
  deleteFolderTree(doomed.file(L"lien"));
  EXPECT_EQ(test::readBytes(elsewhere.file(L"precieux.txt")), "garder");
  test::removeDirectoryLink(doomed.file(L"lien"));

  // Without the link the tree goes as a whole.
  EXPECT_TRUE(deleteFolderTree(doomed.path()));
  EXPECT_FALSE(pathExists(doomed.path()));
}

}  // namespace
}  // namespace stelvane
