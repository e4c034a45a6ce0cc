#pragma once
// The about box: product name, version and build, the kind of build, the
// rights line, the maker's web page and a small animation. The help menu
// opens it modally.

#include "TVersionInfo.h"

#include <QDialog>

#include <memory>
#include <string>

class QTimer;
class TkResourcen;

namespace Ui {
class AboutDlg;
}

class TAboutDlg : public QDialog {
    Q_OBJECT

public:
    // mode: the program mode (2 adds " for experts" to the product text).
    TAboutDlg(QWidget* owner, TkResourcen* res, int mode,
              const TVersionInfo& info = TVersionInfo::OfProgram());
    ~TAboutDlg() override;

    // The build: the part of the file version after its last "."; a version
    // without a dot is all build.
    static std::string BuildOf(const std::string& fileVersion);
    // "<version> (Build <build>)".
    static std::string VersionText(const std::string& fileVersion);
    // " -debug", " -info", " -patched", " -prerelease", " -private build",
    // " -special build" for each flag set, " released" for none.
    static std::string BuildKindText(std::uint32_t fileFlags);
    // Product name, build kind, " version", and " for experts" in mode 2.
    static std::string ProductText(const std::string& productName, std::uint32_t fileFlags,
                                   int mode);

    // The frame the animation stops at when it is not running.
    static constexpr int kStopFrame = 63;
    int CurrentFrame() const { return m_nFrame; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Button1Click();
    void NextFrame();
    void DrawFrame();

    std::unique_ptr<Ui::AboutDlg> ui;
    QTimer* m_pAnimationTimer = nullptr;
    int m_nFrame = 0;
};
