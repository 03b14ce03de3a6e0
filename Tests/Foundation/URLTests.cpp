#include "Platform/Foundation/PercentEncoding.hpp"
#include "Platform/Foundation/URL.hpp"
#include "Platform/Foundation/UUID.hpp"

#include <filesystem>
#include <gtest/gtest.h>
#include <unordered_set>

using Foundation::String;
using Foundation::URL;

TEST(FileURL, AbsoluteStringIsPercentEncodedAndPathIsNot)
{
    auto url = URL::fileURLWithPath("/no such/dir/caf\u00e9 #1.txt");
    EXPECT_TRUE(url.isFileURL());
    EXPECT_EQ(url.scheme(), "file");
    EXPECT_EQ(url.absoluteString(), "file:///no%20such/dir/caf%C3%A9%20%231.txt");
    EXPECT_EQ(url.path(), "/no such/dir/caf\u00e9 #1.txt");
    EXPECT_FALSE(url.hasDirectoryPath());
    EXPECT_EQ(url.host(), std::nullopt);
}

TEST(FileURL, DirectoriesAreMarkedWithATrailingSlashThatPathLeavesOut)
{
    auto existing = std::filesystem::temp_directory_path().string();
    EXPECT_TRUE(URL::fileURLWithPath(existing).hasDirectoryPath());
    EXPECT_TRUE(URL::fileURLWithPath("/no/such/folder/").hasDirectoryPath());
    EXPECT_FALSE(URL::fileURLWithPath("/no/such/folder").hasDirectoryPath());

    auto forced = URL::fileURLWithPath("/no/such/folder", true);
    EXPECT_EQ(forced.absoluteString(), "file:///no/such/folder/");
    EXPECT_EQ(forced.path(), "/no/such/folder");
    EXPECT_EQ(URL::fileURLWithPath("/no/such/folder/", false).absoluteString(), "file:///no/such/folder");

    auto root = URL::fileURLWithPath("/");
    EXPECT_EQ(root.absoluteString(), "file:///");
    EXPECT_EQ(root.path(), "/");
    EXPECT_EQ(root.lastPathComponent(), "/");
}

TEST(FileURL, RelativePathsResolveAgainstTheCurrentDirectory)
{
    auto cwd = std::filesystem::current_path().string();
    EXPECT_EQ(URL::fileURLWithPath("some/file.txt").path(), String(cwd + "/some/file.txt"));
    EXPECT_EQ(URL::fileURLWithPath("/a//b///c").path(), "/a/b/c");
}

TEST(FileURL, ComponentsAndExtensions)
{
    auto url = URL::fileURLWithPath("/a/b/archive.tar.gz");
    EXPECT_EQ(url.pathComponents(), (std::vector<String> {"/", "a", "b", "archive.tar.gz"}));
    EXPECT_EQ(url.lastPathComponent(), "archive.tar.gz");
    EXPECT_EQ(url.pathExtension(), "gz");
    EXPECT_EQ(url.deletingPathExtension().lastPathComponent(), "archive.tar");
    EXPECT_EQ(URL::fileURLWithPath("/a/.profile").pathExtension(), "");
    EXPECT_EQ(URL::fileURLWithPath("/a/.profile").deletingPathExtension().lastPathComponent(), ".profile");
    EXPECT_EQ(URL::fileURLWithPath("/a/name.").pathExtension(), "");
    EXPECT_EQ(URL::fileURLWithPath("/a/b/", true).pathComponents(), (std::vector<String> {"/", "a", "b"}));
}

TEST(FileURL, AppendingComponents)
{
    auto directory = URL::fileURLWithPath("/base", true);
    EXPECT_EQ(directory.appendingPathComponent("x y").absoluteString(), "file:///base/x%20y");
    EXPECT_EQ(directory.appendingPathComponent("sub", true).absoluteString(), "file:///base/sub/");
    EXPECT_EQ(directory.appendingPathComponent("sub/").absoluteString(), "file:///base/sub/");
    EXPECT_EQ(directory.appendingPathComponent("/lead").absoluteString(), "file:///base/lead");
    EXPECT_EQ(directory.appendingPathComponent("a/b").path(), "/base/a/b");
    EXPECT_EQ(directory.appendingPathComponent("100%").absoluteString(), "file:///base/100%25");
    EXPECT_EQ(directory.appendingPathComponent(""), directory);

    auto file = URL::fileURLWithPath("/base/file", false);
    EXPECT_EQ(file.appendingPathComponent("more").absoluteString(), "file:///base/file/more");

    URL mutated = directory;
    mutated.appendPathComponent("in-place", false);
    EXPECT_EQ(mutated.path(), "/base/in-place");
}

TEST(FileURL, AppendingAnExtensionToADirectoryKeepsItADirectory)
{
    auto directory = URL::fileURLWithPath("/base/dir", true);
    EXPECT_EQ(directory.appendingPathExtension("jpg").absoluteString(), "file:///base/dir.jpg/");
    EXPECT_EQ(directory.appendingPathExtension("").absoluteString(), "file:///base/dir/");
    EXPECT_EQ(directory.appendingPathExtension("a/b"), directory);
    EXPECT_EQ(URL::fileURLWithPath("/").appendingPathExtension("jpg").absoluteString(), "file:///");
    EXPECT_EQ(URL::fileURLWithPath("/f", false).appendingPathExtension("tar.gz").pathExtension(), "gz");
}

TEST(FileURL, DeletingTheLastComponentGivesTheParentDirectory)
{
    EXPECT_EQ(URL::fileURLWithPath("/a/b/c.txt", false).deletingLastPathComponent().absoluteString(), "file:///a/b/");
    EXPECT_EQ(URL::fileURLWithPath("/a/b/", true).deletingLastPathComponent().absoluteString(), "file:///a/");
    EXPECT_EQ(URL::fileURLWithPath("/a", false).deletingLastPathComponent().absoluteString(), "file:///");
    EXPECT_EQ(URL::fileURLWithPath("/").deletingLastPathComponent().absoluteString(), "file:///");
}

TEST(FileURL, StandardizedResolvesDotSegments)
{
    EXPECT_EQ(URL::fileURLWithPath("/a/./b/../c", false).standardized().path(), "/a/c");
    EXPECT_EQ(URL::fileURLWithPath("/a/b/..", false).standardized().absoluteString(), "file:///a/");
    EXPECT_EQ(URL::fileURLWithPath("/../x", false).standardized().path(), "/x");
}

TEST(FileURL, EqualityAndHashFollowTheAbsoluteString)
{
    auto a = URL::fileURLWithPath("/x/y", false);
    auto b = URL::fileURLWithPath("/x//y", false);
    EXPECT_EQ(a, b);
    EXPECT_NE(a, URL::fileURLWithPath("/x/y", true));
    std::unordered_set<URL> set {a, b, URL::fileURLWithPath("/x/y", true)};
    EXPECT_EQ(set.size(), 2u);
}

TEST(URLString, ParsesItsParts)
{
    auto url = URL::string("https://user@example.com:8443/a%20b/c?x=1&y=2#top");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->scheme(), "https");
    EXPECT_EQ(url->host(), String("example.com"));
    EXPECT_EQ(url->port(), 8443);
    EXPECT_EQ(url->path(), "/a b/c");
    EXPECT_EQ(url->query(), String("x=1&y=2"));
    EXPECT_EQ(url->fragment(), String("top"));
    EXPECT_EQ(url->absoluteString(), "https://user@example.com:8443/a%20b/c?x=1&y=2#top");
    EXPECT_FALSE(url->isFileURL());

    auto file = URL::string("file:///tmp/a%20b/");
    ASSERT_TRUE(file);
    EXPECT_EQ(*file, URL::fileURLWithPath("/tmp/a b", true));
    EXPECT_EQ(URL::string("https://example.com")->appendingPathComponent("a").absoluteString(), "https://example.com/a");
}

TEST(URLString, RejectsTextThatIsNoURL)
{
    EXPECT_FALSE(URL::string(""));
    EXPECT_FALSE(URL::string("https://exa mple.com"));
    EXPECT_FALSE(URL::string("https://example.com/%zz"));
    EXPECT_FALSE(URL::string("https://example.com/%4"));
    EXPECT_FALSE(URL::string("https://example.com/a#b#c"));
    EXPECT_FALSE(URL::string("https://example.com/\u00e9"));
    auto relative = URL::string("folder/file");
    ASSERT_TRUE(relative);
    EXPECT_EQ(relative->scheme(), "");
    EXPECT_EQ(relative->path(), "folder/file");
}

TEST(UUID, NewIdentifiersAreRandomVersion4InUpperCase)
{
    Foundation::UUID first;
    Foundation::UUID second;
    EXPECT_NE(first, second);
    auto text = first.uuidString().utf8();
    ASSERT_EQ(text.size(), 36u);
    EXPECT_EQ(text[14], '4');
    EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos);
    for (std::size_t i : {8u, 13u, 18u, 23u})
        EXPECT_EQ(text[i], '-');
    EXPECT_EQ(text.find_first_of("abcdef"), std::string::npos);
}

TEST(UUID, ParsesEitherCaseAndRejectsMalformedText)
{
    auto parsed = Foundation::UUID::fromString("e621e1f8-c36c-495a-93fc-0c247a3e6e5f");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->uuidString(), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(parsed->bytes()[0], 0xE6);
    Foundation::UUID random;
    EXPECT_EQ(Foundation::UUID::fromString(random.uuidString()), random);
    EXPECT_FALSE(Foundation::UUID::fromString("E621E1F8C36C495A93FC0C247A3E6E5F"));
    EXPECT_FALSE(Foundation::UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5G"));
    EXPECT_FALSE(Foundation::UUID::fromString("E621E1F8-C36C-495A-93FC-0C247A3E6E5F0"));
    EXPECT_FALSE(Foundation::UUID::fromString("E621E1F8+C36C-495A-93FC-0C247A3E6E5F"));
}

TEST(PercentEncoding, AQueryValueKeepsOnlyUnreservedCharactersAndDecodesBack)
{
    const std::string value = "a b&c=d?e#f+g/h%i-._~Zé€";
    const auto encoded = Foundation::percentEncodedQueryValue(value);
    EXPECT_EQ(encoded, "a%20b%26c%3Dd%3Fe%23f%2Bg%2Fh%25i-._~Z%C3%A9%E2%82%AC");
    EXPECT_EQ(Foundation::percentDecoded(encoded), value);
    EXPECT_EQ(Foundation::percentDecoded("100%"), "100%") << "a broken escape stays as written";
    EXPECT_EQ(Foundation::percentDecoded("%zz%4"), "%zz%4");
}
