#pragma once
// The About window: the product, its version, its maker and how to reach
// them. A new window is made for every showing.
#include <windows.h>

#include "forms/ProductPanel.h"
#include "platform/Controls.h"
#include "platform/Form.h"

class TAboutBox : public TForm {
 public:
  TAboutBox(TApplication& Application, HWND Owner);

  TPanel Panel1{*this};
  TLabel ProductName{*this};
  TLabel Version{*this};
  TLabel Copyright{*this};
  TLabel WebSite{*this};
  TImage Image2{*this};
  TLabel EMail{*this};
  TImage Image1{*this};
  TButton BitBtn1{*this};

 private:
  void CreateControls() override;
  void FormCreate() override;
  TProductPanel Panel();
  void WebSiteClick();
};

// Shows a new About window modally over Owner and frees it once it closes.
void ShowAboutBox(TApplication& Application, HWND Owner);
