// Stored texts are code page 936 bytes handed to the A functions unchanged:
// that holds only while the system's ANSI code page is 936.
#include <windows.h>

#include <gtest/gtest.h>

TEST(CodePage, TheAnsiCodePageIsSimplifiedChinese) { EXPECT_EQ(GetACP(), 936u); }
