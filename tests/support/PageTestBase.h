#pragma once
// The set-up every page, dialog, wizard and print fixture starts from: a
// folder and settings file of the test's own (the user's settings stay
// untouched), error boxes that fail the test instead of waiting for a click,
// the program's generated files from the build, English as the language,
// the real language texts, and message boxes recorded and pre-answered.
//
// A fixture derives from it, calls PageTestBase::SetUp() first and
// PageTestBase::TearDown() last, and overrides the hooks where its tests
// need other settings or other answers.

#include "TMsgBox.h"
#include "TestSettingsFile.h"
#include "TkResourcen.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

class PageTestBase : public testing::Test {
protected:
    // Who loads the language texts: the fixture (into m_pRes) or the
    // program under test (the main window loads its own).
    enum class TextSource { Fixture, Program };
    // dirTag names the temporary folder, so a left-over one tells whose it
    // was.
    explicit PageTestBase(std::string dirTag, TextSource texts = TextSource::Fixture);

    void SetUp() override;
    void TearDown() override;

    // Runs after the language is chosen and before the texts load: the
    // place for further settings the texts or the pages read.
    virtual void ChooseSettings() {}
    // The button a message box is answered with; OK unless overridden.
    virtual int BoxAnswer(const TMsgBox::Request& request);

    TkResourcen* Res() const { return m_pRes.get(); }
    // The text ids of the message boxes shown so far.
    std::vector<int> BoxIds() const;

    // The test's own settings file; its folder takes the test's files too.
    std::unique_ptr<mox::test::TestSettingsFile> m_pSettings;
    std::filesystem::path m_Dir;
    std::unique_ptr<TkResourcen> m_pRes;
    std::vector<TMsgBox::Request> m_Boxes;

private:
    std::string m_DirTag;
    TextSource m_Texts;
};

// The usual answer of a fixture that lets every question pass: "yes" to a
// yes/no question, OK to everything else.
int YesOrOk(const TMsgBox::Request& request);
