// The login-screen script template. The Lua text below is kept byte for byte as the game
// gets it (tab indentation, a lone tab on one line, a tab after one function header), with
// LF line breaks that LoginTemplateText turns into CR LF.

#include "quicklogin/QuickLogin.h"

#include "settings/extfunc.h"

namespace qvn {
namespace {

constexpr const char* TemplateSource = R"lua(ACCOUNTLOGIN_FADEIN_TIME1 	= 1.0;
ACCOUNTLOGIN_FADEIN_TIME2 	= 1.5;
ACCOUNTLOGIN_AGREEMENT 		= 1;

LOGIN_FLASH_MAX_ALPHA = 1.2;
LOGIN_FLASH_MIN_ALPHA = 0.3;


function UserAgreement_OnShow()
	UserAgreement:Hide();
	AccountLoginShow();
	AccountLoginAccountEdit:SetText( "{SELECTED_LOGIN}" );
	AccountLoginPasswordEdit:SetText( "{SELECTED_PASSWORD}" );
	AccountLogin_Login();
end


function AccountLogin_OnShow()
	-- Some regions log in through their own launcher and show no login fields.
	local hideLoginUI = false;
	if ( IsHideLoginUI and IsHideLoginUI() ) then
		hideLoginUI = true;
	end
	local location = GetLocation();
	if ( location == "JP" or location == "HG" or location == "SG" ) then
		hideLoginUI = true;
	end
	-- There the agreement is accepted at once and never shown.
	if ( hideLoginUI ) then
		AccountLoginAccountEdit:Hide();
		AccountLoginPasswordEdit:Hide();
		AccountLastAccountButton:Hide();
		AccountLoginLoginButton:Hide();
		UserAgreement:Hide();
		AcceptUserAgreement();
		if ( ACCOUNTLOGIN_AGREEMENT ) then
			ACCOUNTLOGIN_AGREEMENT = nil;
			AccountLoginShow();
		end
	end
	-- Elsewhere the first showing goes through the user agreement, whose
	-- handler fills in the fields and logs in.
	if ( ACCOUNTLOGIN_AGREEMENT ) then
		ACCOUNTLOGIN_AGREEMENT = nil;
		AccountLogin:Hide();
		UserAgreement:Show();
	else
		AccountLoginAccountEdit:SetFocus();
	end
end

function AccountLogin_OnKeyDown(this, key)
	if ( key == "ESCAPE" ) then
		AccountLogin_Exit();
	end
end

function AccountLogin_OnKeyUp(this, key)

end

function AccountLogin_OnMouseDown(this, key)

end

function AccountLogin_OnMouseUp(this, key)

end

function AccountLogin_OnUpdate(this, elapsedTime)
	-- Transparent for ACCOUNTLOGIN_FADEIN_TIME1 seconds, then in over ACCOUNTLOGIN_FADEIN_TIME2.
	if ( AccountLogin.update ) then
		AccountLogin.update = AccountLogin.update + elapsedTime;
		Alpha = (AccountLogin.update - ACCOUNTLOGIN_FADEIN_TIME1) / ACCOUNTLOGIN_FADEIN_TIME2;
		if ( Alpha < 0 ) then
			Alpha = 0;
		elseif ( Alpha > 1.0 ) then
			Alpha = 1.0;
		end
		AccountLogin:SetAlpha(Alpha);
		if ( Alpha >= 1.0 ) then
			AccountLogin.update = nil;
		end
	end
end

function AccountLogin_Login()
	DefaultServerLogin(AccountLoginAccountEdit:GetText(), AccountLoginPasswordEdit:GetText());
	AccountLoginPasswordEdit:SetText("");
	AccountLoginPasswordEdit:ClearFocus();
	AccountLoginAccountEdit:ClearFocus();
end

function AccountLogin_FocusPassword()
	AccountLoginPasswordEdit:SetFocus();
end

function AccountLogin_FocusAccountName()
	AccountLoginAccountEdit:SetFocus();
end

function AccountLoginPasswordEdit_OnGained(this, arg1)
	
end

function AccountLoginPasswordEdit_SetText(text)
	AccountLoginPasswordEdit:InsertChar(text);
end

function AccountLogin_Exit()
	QuitGame();
end

--[[function LoginFlashFrame_OnUpdate(this, elapsedTime)
	if ( not this.alphaValue ) then
		this.alphaValue = LOGIN_FLASH_MIN_ALPHA;
		this.state = 1;
	end
	if ( this.state == 1 ) then
		this.alphaValue = this.alphaValue + elapsedTime;
		if ( this.alphaValue >= LOGIN_FLASH_MAX_ALPHA ) then
			this.alphaValue = LOGIN_FLASH_MAX_ALPHA;
			this.state = 0;
		end
	else
		this.alphaValue = this.alphaValue - elapsedTime;
		if ( this.alphaValue <= LOGIN_FLASH_MIN_ALPHA ) then
			this.alphaValue = LOGIN_FLASH_MIN_ALPHA;
			this.state = 1;
		end
	end
	this:SetAlpha(this.alphaValue);
end]]

function AccountLogin_OnLoad()
	-- The logo folder depends on the client's region.
	local logoPath = "Interface\\Login\\Logo\\" .. GetImageLocation("LOGO") .. "\\" .. "QuorvaneLogo";
	AccountLogin.update = nil;
	AccountLoginVersion:SetText(GetVersion());
	AccountLoginLogo:SetTexture(logoPath);
end

function AccountLogin_Show()
	AccountLogin.update = 0;
	AccountLogin:SetAlpha(0);
	AccountLogin:Show();
end

function AccountLoginBoard_OnLoad(this)
	this:RegisterEvent("SERVER_BOARD_UPDATE");
end

function AccountLoginBoard_OnEvent(this, event)
	if ( event == "SERVER_BOARD_UPDATE" ) then
		AccountLoginBoardText:SetText(GetServerBoardText());
		AccountLoginBoardScrollFrame:UpdateScrollChildRect();
		AccountLoginBoard:Show();
	end
end

function CompanyLogo_OnLoad(this)
	-- Shown for delayTime, then updateTime seconds more, then faded out over one second.
	this.updateTime = 2;
	this.delayTime = 3;
	local logoPath = "Interface\\Login\\Logo\\" .. GetImageLocation("LOGO") .. "\\" .. "StudioLogo";
	CompanyLogoTexture:SetTexture(logoPath);
end

function CompanyLogo_OnUpdate(this, elapsedTime)
	-- A long frame (a loading hitch) must not cut the logo short.
	local step = math.min(elapsedTime, 1);
	if ( this.delayTime ) then
		this.delayTime = this.delayTime - step;
		if ( this.delayTime < 0 ) then
			this.delayTime = nil;
		end
	elseif ( this.updateTime ) then
		this.updateTime = this.updateTime - step;
		if ( this.updateTime < 0 ) then
			this.updateTime = nil;
			this.fadeout = 1;
		end
	elseif ( this.fadeout ) then
		this.fadeout = this.fadeout - step;
		this:SetAlpha(math.max(this.fadeout, 0));
		if ( this.fadeout < 0 ) then
			this.fadeout = nil;
			this:Hide();
--			SetLoginScreen("login");
		end
	end
end

function UserAgreement_OnHide()
	LoginKoreanImage15:Hide();
	LoginKoreanImage18:Hide();
	LoginKoreanImageVoilence:Hide();
end

function VivoxUserAgreement_OnLoad(this)	
	this:RegisterEvent("VIVOX_PACT");
end

function VivoxUserAgreement_Show(this)
	VivoxUserAgreementText:SetText(GetVivoxUserAgreementText());
	VivoxUserAgreementScrollFrame:UpdateScrollChildRect();
	VivoxUserAgreementOkayButton:Disable();
	VivoxUserAgreementCancelButton:Disable();
	-- The buttons wait until the text has been scrolled to its end.
	local scrollFrame = getglobal(this:GetName() .. "ScrollFrame");
	local scrollBar = getglobal(scrollFrame:GetName() .. "ScrollBar");
	scrollBar:SetValue(0);
	local _, maxValue = scrollBar:GetMinMaxValues();
	if ( scrollBar:GetValue() - maxValue == 0 ) then
		VivoxUserAgreement_ReadFinish();
	end
	this:Show();
end

function VivocUserAgreement_OnEvent(this, event)
	if ( event == "VIVOX_PACT" ) then
		if ( not VivoxUserAgreement:IsVisible() ) then
			VivoxUserAgreement_Show(this);
		end
	end
end

function VivoxUserAgreement_ReadFinish()
	VivoxUserAgreementOkayButton:Enable();
	VivoxUserAgreementCancelButton:Enable();
end)lua";

}  // namespace

const std::string& LoginTemplateText() {
  static const std::string text = ReplaceAll("\n", "\r\n", TemplateSource);
  return text;
}

}  // namespace qvn
