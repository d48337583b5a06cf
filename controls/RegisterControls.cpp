#include "controls/RegisterControls.h"

#include "controls/acAlphaImgList.h"
#include "controls/acShellCtrls.h"
#include "controls/sBitBtn.h"
#include "controls/sButton.h"
#include "controls/sCheckBox.h"
#include "controls/sComboBox.h"
#include "controls/sGauge.h"
#include "controls/sLabel.h"
#include "controls/sMaskEdit.h"
#include "controls/sMemo.h"
#include "controls/sScrollBox.h"
#include "controls/sSpeedButton.h"
#include "controls/sToolEdit.h"
#include "skinframework/sSkinManager.h"
#include "toolkit/ExtCtrls.h"

namespace sk {

namespace {
template <class T> void Add(const char* name) {
    tk::TClassRegistry::Register(name, [](tk::TComponent* owner) { return new T(owner); });
}
}  // namespace

void RegisterControlClasses() {
    Add<tk::TImage>("TImage");
    Add<tk::TLabel>("TLabel");
    Add<tk::TButton>("TButton");
    Add<tk::TEdit>("TEdit");
    Add<tk::TMemo>("TMemo");
    Add<tk::TCheckBox>("TCheckBox");
    Add<tk::TComboBox>("TComboBox");
    Add<tk::TTimer>("TTimer");
    Add<TsButton>("TsButton");
    Add<TsCheckBox>("TsCheckBox");
    Add<TsComboBox>("TsComboBox");
    Add<TsGauge>("TsGauge");
    Add<TsLabelFX>("TsLabelFX");
    Add<TsWebLabel>("TsWebLabel");
    Add<TsMemo>("TsMemo");
    Add<TsSpeedButton>("TsSpeedButton");
    Add<TsDirectoryEdit>("TsDirectoryEdit");
    Add<TsMaskEdit>("TsMaskEdit");
    Add<TsSkinManager>("TsSkinManager");
    Add<TsLabel>("TsLabel");
    Add<TsBitBtn>("TsBitBtn");
    Add<TsShellTreeView>("TsShellTreeView");
    Add<TsScrollBox>("TsScrollBox");
    Add<TsAlphaImageList>("TsAlphaImageList");
}

}  // namespace sk
