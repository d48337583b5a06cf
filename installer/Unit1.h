// The installer window: its controls, payload tables and the install procedure.
#pragma once
#include "controls/sButton.h"
#include "controls/sCheckBox.h"
#include "controls/sComboBox.h"
#include "controls/sGauge.h"
#include "controls/sLabel.h"
#include "controls/sMemo.h"
#include "controls/sSpeedButton.h"
#include "controls/sToolEdit.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/ExtCtrls.h"
#include "toolkit/Forms.h"

namespace kv {

// One payload row: resource name, file name, sub-folder of the target directory.
struct Tfile {
    std::wstring fName;
    std::wstring fFile;
    std::wstring fFold;
};

constexpr int kPayloadRows = 23;
extern Tfile InstallFiles[kPayloadRows];
extern Tfile SystemFiles[kPayloadRows];
extern bool InstallDone;

// Address written to the uninstall entry and opened by the social-network link.
extern const wchar_t kSocialPageUrl[];

class TForm1 : public tk::TForm {
public:
    explicit TForm1(tk::TComponent* owner);

    sk::TsSkinManager* sSkinManager1 = nullptr;
    sk::TsButton* sButton1 = nullptr;
    tk::TImage* Image1 = nullptr;
    sk::TsLabelFX* sLabelFX1 = nullptr;
    sk::TsLabelFX* sLabelFX2 = nullptr;
    sk::TsSpeedButton* sSpeedButton1 = nullptr;
    sk::TsCheckBox* sCheckBox1 = nullptr;
    sk::TsCheckBox* sCheckBox2 = nullptr;
    sk::TsGauge* sGauge1 = nullptr;
    sk::TsDirectoryEdit* sDirectoryEdit1 = nullptr;
    sk::TsMemo* sMemo1 = nullptr;
    sk::TsLabelFX* sLabelFX3 = nullptr;
    sk::TsComboBox* sComboBox1 = nullptr;
    sk::TsLabelFX* sLabelFX4 = nullptr;
    sk::TsWebLabel* sWebLabel2 = nullptr;
    sk::TsLabelFX* sLabelFX5 = nullptr;
    sk::TsCheckBox* sCheckBox3 = nullptr;
    sk::TsWebLabel* sWebLabel1 = nullptr;
    bool bool64bit = false;
    std::wstring GLPathProgram;
    std::wstring GLPathSystem;

    void FormCreate(tk::TObject* sender);
    void sSpeedButton1Click(tk::TObject* sender);
    void sDirectoryEdit1AfterDialog(tk::TObject* sender, std::wstring& name, bool& action);
    void sButton1Click(tk::TObject* sender);
    void CreateShotCut(const std::wstring& sourceFile, const std::wstring& shortCutName,
                       const std::wstring& sourceParams);

private:
    void BindFields();
    void Log(const std::wstring& text);
    std::wstring Dir() const;
    // False, after telling the user, when the directory text is not a full path.
    bool InstallDirectoryAccepted();
    void ExtractPayloadRow(const Tfile& row, const std::wstring& targetDir, const std::wstring& logDir);
    void WriteUninstallEntry();
    void RegisterThumbnailExtension();
};

extern TForm1* Form1;

std::wstring GetSpecialFolder(uint16_t folder);
bool IsRunningUnderWow64();
// True on 64-bit Windows: in the native 64-bit build always, in the 32-bit build under WOW64.
bool IsWindows64Bit();
// The version text of the executable's own version resource ("0.14.3 [Build: 110]").
std::wstring GetVersionLabel(bool buildOnly);
// The same text from the bytes of a version resource; empty when they are too short.
std::wstring VersionLabelFromResource(const uint8_t* data, size_t size, bool buildOnly);

// The after-dialog rule: an accepted folder that does not name the product gets the product
// folder "Kalvetra" appended, joined by a single separator.
void ApplyAfterDialogRule(std::wstring& name, bool action);

}  // namespace kv
