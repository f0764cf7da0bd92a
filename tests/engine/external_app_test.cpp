#include "engine/external_app.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <utility>

#include "platform/atomic_file.h"
#include "support/engine_fixture.h"

namespace qor::engine {
namespace {

using ::testing::ElementsAre;

class ExternalAppTest : public tests::EngineFixture {
 protected:
  std::string Parameters(const std::string& exepath, const std::string& exeparam) {
    return BuildParameters(exepath, exeparam, context.usersAppFolderPath);
  }

  const std::string addressFile = platform::PathToUtf8(appFolder.Path() / "olqor.txt");
  const std::string builtIn = " p:default o:3 \"f:" + addressFile + "\" a:interactive";
};

TEST_F(ExternalAppTest, BuildParameters_GivesTheEngineProgramItsBuiltInTextWhenNoneIsTyped) {
  EXPECT_EQ(Parameters("C:\\Program Files\\QOR\\korvanex.exe", ""), builtIn);
  EXPECT_EQ(Parameters("C:\\Program Files\\QOR\\korvanex.exe", "ab"), builtIn);
  EXPECT_EQ(Parameters("/opt/qor/KorVanEx.Exe", " \t ab  "), builtIn);
  EXPECT_EQ(Parameters("D:KORVANEX.EXE", ""), builtIn);
  // Two characters typed, four bytes in UTF-8.
  EXPECT_EQ(Parameters("korvanex.exe", "\xC3\xA9\xC3\xA9"), builtIn);

  EXPECT_EQ(Parameters("C:\\Tools\\other.exe", ""), "");
  EXPECT_EQ(Parameters("C:\\Tools\\notkorvanex.exe", "ab"), "");
  EXPECT_EQ(Parameters("C:\\korvanex.exe\\other.exe", ""), "");
  EXPECT_EQ(Parameters("korvanex.exe", "abc"), "abc");
}

TEST_F(ExternalAppTest, BuildParameters_ReplacesEveryPlaceholderInAnyCaseWithoutQuotes) {
  EXPECT_EQ(Parameters("other.exe", "-in {qorfile} -out {QORFILE}.bak"),
            "-in " + addressFile + " -out " + addressFile + ".bak");
  EXPECT_EQ(Parameters("korvanex.exe", "{QorFile}{qorFILE}"), addressFile + addressFile);
  EXPECT_EQ(Parameters("other.exe", "  -x {QORFILE  "), "  -x {QORFILE  ");
}

// The default application folder, "...\\QOR for Outlook", holds blanks: the program must get the
// path as one argument, whether or not the user quoted the placeholder.
TEST_F(ExternalAppTest, BuildParameters_QuotesAPathWithBlanksUnlessTheTextQuotesIt) {
  const std::string folder = platform::PathToUtf8(appFolder.Path() / "QOR for Outlook");
  const std::string path = platform::PathToUtf8(appFolder.Path() / "QOR for Outlook" / "olqor.txt");
  EXPECT_EQ(BuildParameters("other.exe", "-in {qorfile} \"{QORFILE}\" \"f:{QorFile}\" /x {qorfile}", folder),
            "-in \"" + path + "\" \"" + path + "\" \"f:" + path + "\" /x \"" + path + "\"");
  EXPECT_EQ(BuildParameters("korvanex.exe", "", folder), " p:default o:3 \"f:" + path + "\" a:interactive");
}

TEST_F(ExternalAppTest, ExecuteApplication_OpensTheProgramAsTypedAndReportsAStartThatFails) {
  ExecuteApplication(context, "C:\\QOR\\korvanex.exe", "");
  ExecuteApplication(context, "", "{qorfile}");
  EXPECT_THAT(fakes.shell.opened, ElementsAre(std::pair<std::string, std::string>("C:\\QOR\\korvanex.exe", builtIn),
                                              std::pair<std::string, std::string>("", addressFile)));
  EXPECT_THAT(fakes.messages.errors, ElementsAre());

  fakes.shell.failure = "The system cannot find the file specified.";
  ExecuteApplication(context, "C:\\Tools\\gone.exe", "");
  EXPECT_THAT(fakes.messages.errors,
              ElementsAre("Cannot start \"C:\\Tools\\gone.exe\": The system cannot find the file specified."));
}

TEST_F(ExternalAppTest, SaveAndRestoreExePathAndParam_KeepThePlaceholderUnexpanded) {
  const ExeSettings firstUse = RestoreExePathAndParam(fakes.settings);
  EXPECT_EQ(firstUse.exePath, "");
  EXPECT_EQ(firstUse.exeParam, "");

  SaveExePathAndParam(fakes.settings, {"C:\\Tools\\mailer.exe", "/list \"{QORFILE}\""});

  EXPECT_EQ(fakes.settings.values["ExePath"], "C:\\Tools\\mailer.exe");
  EXPECT_EQ(fakes.settings.values["ExeParam"], "/list \"{QORFILE}\"");
  const ExeSettings restored = RestoreExePathAndParam(fakes.settings);
  EXPECT_EQ(restored.exePath, "C:\\Tools\\mailer.exe");
  EXPECT_EQ(restored.exeParam, "/list \"{QORFILE}\"");
}

}  // namespace
}  // namespace qor::engine
