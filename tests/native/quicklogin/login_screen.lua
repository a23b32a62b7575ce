-- Stand-ins for the game's login screen, to run a written accountlogin.lua outside the game.
--
--   lua5.1 login_screen.lua <script> <check> <output folder>
--
-- Loads the script among stub frames and functions that record what the script does, then
-- runs one named check. "autologin" only calls UserAgreement_OnShow() and stores the two
-- texts handed to DefaultServerLogin in login.bin and password.bin of the output folder;
-- the other checks assert the behaviour of the login screen's handlers. A failed check
-- ends the interpreter with an error (exit status 1).

local scriptPath, checkName, outputFolder = arg[1], arg[2], arg[3]

-- What the game saw: calls of its functions, in order.
local calls = {}
local function Record(name, ...)
	calls[#calls + 1] = { name = name, args = { ... } };
end
local function CallsOf(name)
	local found = {};
	for _, call in ipairs(calls) do
		if call.name == name then found[#found + 1] = call end
	end
	return found;
end

local Frame = {}
Frame.__index = Frame

-- A frame that runs the script's OnShow / OnHide handler when it changes visibility, as the
-- game does.
local function NewFrame(name, shown, onShow, onHide)
	local frame = setmetatable({ name = name, shown = shown, text = "", alpha = 1,
		enabled = true, focused = false, onShow = onShow, onHide = onHide }, Frame);
	_G[name] = frame;
	return frame;
end
function Frame:GetName() return self.name end
function Frame:Show()
	local wasShown = self.shown;
	self.shown = true;
	if not wasShown and self.onShow then _G[self.onShow]() end
end
function Frame:Hide()
	local wasShown = self.shown;
	self.shown = false;
	if wasShown and self.onHide then _G[self.onHide]() end
end
function Frame:IsVisible() return self.shown end
function Frame:SetText(text) self.text = text end
function Frame:GetText() return self.text end
function Frame:InsertChar(text) self.text = self.text .. text end
function Frame:SetFocus() self.focused = true end
function Frame:ClearFocus() self.focused = false end
function Frame:SetAlpha(alpha) self.alpha = alpha end
function Frame:Enable() self.enabled = true end
function Frame:Disable() self.enabled = false end
function Frame:SetTexture(path) self.texture = path end
function Frame:RegisterEvent(event) self.events = self.events or {}; self.events[event] = true end
function Frame:UpdateScrollChildRect() Record(self.name .. ":UpdateScrollChildRect") end
function Frame:SetValue(value) self.value = value end
function Frame:GetValue() return self.value or 0 end
function Frame:GetMinMaxValues() return 0, self.maxValue or 0 end

NewFrame("AccountLogin", true);
NewFrame("AccountLoginAccountEdit", true);
NewFrame("AccountLoginPasswordEdit", true);
NewFrame("AccountLastAccountButton", true);
NewFrame("AccountLoginLoginButton", true);
NewFrame("AccountLoginVersion", true);
NewFrame("AccountLoginLogo", true);
NewFrame("AccountLoginBoard", false);
NewFrame("AccountLoginBoardText", true);
NewFrame("AccountLoginBoardScrollFrame", true);
NewFrame("UserAgreement", false, "UserAgreement_OnShow", "UserAgreement_OnHide");
NewFrame("CompanyLogo", true);
NewFrame("CompanyLogoTexture", true);
NewFrame("LoginKoreanImage15", true);
NewFrame("LoginKoreanImage18", true);
NewFrame("LoginKoreanImageVoilence", true);
NewFrame("VivoxUserAgreement", false);
NewFrame("VivoxUserAgreementText", true);
NewFrame("VivoxUserAgreementScrollFrame", true);
NewFrame("VivoxUserAgreementScrollFrameScrollBar", true);
NewFrame("VivoxUserAgreementOkayButton", true);
NewFrame("VivoxUserAgreementCancelButton", true);

local location = "EN";
function DefaultServerLogin(login, password) Record("DefaultServerLogin", login, password) end
function AcceptUserAgreement() Record("AcceptUserAgreement") end
function QuitGame() Record("QuitGame") end
function GetLocation() return location end
function GetVersion() return "1.0.4711" end
function GetImageLocation(kind) return kind == "LOGO" and "ru" or "?" end
function GetServerBoardText() return "Server news" end
function GetVivoxUserAgreementText() return "Voice chat terms" end
function getglobal(name) return rawget(_G, name) end
-- The game's own handler; the script calls it, never defines it.
function AccountLoginShow() Record("AccountLoginShow") end
local gameAccountLoginShow = AccountLoginShow

-- From here on, reading a global that neither the game nor the script ever set is an error,
-- so that a misspelt name in the script shows. IsHideLoginUI is absent from some clients.
local declared = { IsHideLoginUI = true }
setmetatable(_G, {
	__newindex = function(table, name, value)
		declared[name] = true;
		rawset(table, name, value);
	end,
	__index = function(_, name)
		if declared[name] then return nil end
		error("the script reads the undefined global " .. tostring(name), 2);
	end,
})

local chunk = assert(loadfile(scriptPath));
chunk();

local function Near(a, b) return math.abs(a - b) < 1e-9 end

local checks = {}

function checks.autologin()
	UserAgreement_OnShow();
	local login = CallsOf("DefaultServerLogin");
	assert(#login == 1, "DefaultServerLogin called " .. #login .. " times");
	for index, name in ipairs({ "login.bin", "password.bin" }) do
		local file = assert(io.open(outputFolder .. "/" .. name, "wb"));
		file:write(login[1].args[index]);
		file:close();
	end
end

-- The first showing of the login frame leads through the agreement to one automatic login;
-- later showings only give the account field the focus.
function checks.sequence()
	assert(ACCOUNTLOGIN_AGREEMENT == 1);
	AccountLogin_OnShow();
	assert(ACCOUNTLOGIN_AGREEMENT == nil);
	assert(not AccountLogin.shown, "the login frame stays shown");
	assert(not UserAgreement.shown, "the agreement stays shown");
	assert(#CallsOf("AccountLoginShow") == 1);
	assert(#CallsOf("AcceptUserAgreement") == 0);
	local login = CallsOf("DefaultServerLogin");
	assert(#login == 1);
	assert(login[1].args[1] == "player" and login[1].args[2] == "secret");
	assert(AccountLoginAccountEdit.text == "player");
	assert(AccountLoginPasswordEdit.text == "", "the password stays in its field");
	assert(not AccountLoginAccountEdit.focused and not AccountLoginPasswordEdit.focused);
	assert(not LoginKoreanImage15.shown and not LoginKoreanImage18.shown and
		not LoginKoreanImageVoilence.shown, "hiding the agreement leaves its images shown");

	AccountLogin:Show();
	AccountLogin_OnShow();
	assert(#CallsOf("DefaultServerLogin") == 1, "a second automatic login");
	assert(AccountLogin.shown and not UserAgreement.shown);
	assert(AccountLoginAccountEdit.focused);
end

-- Where the client hides the login fields, the agreement is accepted and no login is made.
local function CheckHiddenLoginFields()
	AccountLogin_OnShow();
	for _, frame in ipairs({ AccountLoginAccountEdit, AccountLoginPasswordEdit,
			AccountLastAccountButton, AccountLoginLoginButton }) do
		assert(not frame.shown, frame.name .. " stays shown");
	end
	assert(#CallsOf("AcceptUserAgreement") == 1);
	assert(#CallsOf("AccountLoginShow") == 1);
	assert(#CallsOf("DefaultServerLogin") == 0);
	assert(ACCOUNTLOGIN_AGREEMENT == nil);
	assert(AccountLogin.shown and not UserAgreement.shown);
	assert(AccountLoginAccountEdit.focused);
end
for _, region in ipairs({ "JP", "HG", "SG" }) do
	checks["hidden_" .. region] = function()
		location = region;
		CheckHiddenLoginFields();
	end
end
function checks.hidden_by_client()
	rawset(_G, "IsHideLoginUI", function() return true end);
	CheckHiddenLoginFields();
end
function checks.shown_by_client()
	rawset(_G, "IsHideLoginUI", function() return false end);
	AccountLogin_OnShow();
	assert(AccountLoginAccountEdit.shown and #CallsOf("AcceptUserAgreement") == 0);
	assert(#CallsOf("DefaultServerLogin") == 1);
end

-- The frame stays transparent for 1.0 s after it is shown and then fades in over 1.5 s.
function checks.fade_in()
	assert(ACCOUNTLOGIN_FADEIN_TIME1 == 1.0 and ACCOUNTLOGIN_FADEIN_TIME2 == 1.5);
	AccountLogin_OnLoad();
	AccountLogin:Hide();
	AccountLogin_Show();
	assert(AccountLogin.shown and AccountLogin.alpha == 0 and AccountLogin.update == 0);
	local steps = { { 0.5, 0 }, { 0.5, 0 }, { 0.75, 0.5 }, { 0.375, 0.75 }, { 0.5, 1.0 } };
	for _, step in ipairs(steps) do
		AccountLogin_OnUpdate(AccountLogin, step[1]);
		assert(Near(AccountLogin.alpha, step[2]), "alpha " .. AccountLogin.alpha .. ", not " .. step[2]);
	end
	assert(AccountLogin.update == nil, "the fade-in goes on");
	AccountLogin:SetAlpha(0.25);
	AccountLogin_OnUpdate(AccountLogin, 1);
	assert(AccountLogin.alpha == 0.25, "a finished fade-in sets the alpha again");
end

function checks.names()
	assert(rawget(_G, "LoginFlashFrame_OnUpdate") == nil, "the flash handler is defined");
	assert(LOGIN_FLASH_MAX_ALPHA == 1.2 and LOGIN_FLASH_MIN_ALPHA == 0.3);
	assert(type(AccountLogin_Show) == "function" and AccountLoginShow == gameAccountLoginShow,
		"AccountLoginShow is not left to the game");
	assert(type(VivocUserAgreement_OnEvent) == "function");
	assert(rawget(_G, "VivoxUserAgreement_OnEvent") == nil);
	for _, name in ipairs({ "AccountLogin_OnKeyUp", "AccountLogin_OnMouseDown",
			"AccountLogin_OnMouseUp", "AccountLoginPasswordEdit_OnGained" }) do
		assert(type(_G[name]) == "function", name);
		_G[name](AccountLogin, "A");
	end
	assert(#calls == 0, "an empty handler did something");
end

function checks.keys_and_focus()
	AccountLogin_OnKeyDown(AccountLogin, "ENTER");
	assert(#CallsOf("QuitGame") == 0);
	AccountLogin_OnKeyDown(AccountLogin, "ESCAPE");
	assert(#CallsOf("QuitGame") == 1);
	AccountLogin_FocusPassword();
	assert(AccountLoginPasswordEdit.focused);
	AccountLogin_FocusAccountName();
	assert(AccountLoginAccountEdit.focused);
	AccountLoginPasswordEdit:SetText("ab");
	AccountLoginPasswordEdit_SetText("c");
	assert(AccountLoginPasswordEdit.text == "abc");
	AccountLogin_Exit();
	assert(#CallsOf("QuitGame") == 2);
end

function checks.logos_and_board()
	AccountLogin_OnLoad();
	assert(AccountLoginVersion.text == "1.0.4711");
	assert(AccountLogin.update == nil);
	local folder = "Interface\\Login\\Logo\\ru\\";
	assert(AccountLoginLogo.texture:sub(1, #folder) == folder and #AccountLoginLogo.texture > #folder,
		tostring(AccountLoginLogo.texture));
	CompanyLogo_OnLoad(CompanyLogo);
	local texture = CompanyLogoTexture.texture;
	assert(texture:sub(1, #folder) == folder and #texture > #folder and texture ~= AccountLoginLogo.texture);

	AccountLoginBoard_OnLoad(AccountLoginBoard);
	assert(AccountLoginBoard.events.SERVER_BOARD_UPDATE);
	AccountLoginBoard_OnEvent(AccountLoginBoard, "OTHER");
	assert(not AccountLoginBoard.shown);
	AccountLoginBoard_OnEvent(AccountLoginBoard, "SERVER_BOARD_UPDATE");
	assert(AccountLoginBoard.shown and AccountLoginBoardText.text == "Server news");
	assert(#CallsOf("AccountLoginBoardScrollFrame:UpdateScrollChildRect") == 1);
end

-- The maker's logo: 3 s, then 2 s more, then a fade-out over 1 s; no step counts more than 1 s.
function checks.company_logo()
	CompanyLogo_OnLoad(CompanyLogo);
	local elapsed = 0;
	while CompanyLogo.shown and elapsed < 100 do
		CompanyLogo_OnUpdate(CompanyLogo, 0.25);
		elapsed = elapsed + 0.25;
		if elapsed <= 5 then assert(CompanyLogo.alpha == 1, "faded at " .. elapsed) end
	end
	assert(not CompanyLogo.shown and elapsed > 6 and elapsed <= 6.75, "hidden after " .. elapsed);
	assert(CompanyLogo.fadeout == nil);

	CompanyLogo:Show();
	CompanyLogo:SetAlpha(1);
	CompanyLogo_OnLoad(CompanyLogo);
	local updates = 0;
	while CompanyLogo.shown and updates < 100 do
		CompanyLogo_OnUpdate(CompanyLogo, 30);
		updates = updates + 1;
	end
	assert(updates >= 6, "a long frame cut the logo short after " .. updates .. " updates");
end

function checks.voice_agreement()
	VivoxUserAgreement_OnLoad(VivoxUserAgreement);
	assert(VivoxUserAgreement.events.VIVOX_PACT);
	VivoxUserAgreementScrollFrameScrollBar.maxValue = 120;
	VivoxUserAgreementScrollFrameScrollBar.value = 40;
	VivocUserAgreement_OnEvent(VivoxUserAgreement, "OTHER");
	assert(not VivoxUserAgreement.shown);
	VivocUserAgreement_OnEvent(VivoxUserAgreement, "VIVOX_PACT");
	assert(VivoxUserAgreement.shown and VivoxUserAgreementText.text == "Voice chat terms");
	assert(VivoxUserAgreementScrollFrameScrollBar.value == 0);
	assert(not VivoxUserAgreementOkayButton.enabled and not VivoxUserAgreementCancelButton.enabled,
		"the buttons are usable before the text is read");
	VivoxUserAgreement_ReadFinish();
	assert(VivoxUserAgreementOkayButton.enabled and VivoxUserAgreementCancelButton.enabled);

	-- A visible agreement is left alone; a short text needs no scrolling to be read.
	VivoxUserAgreementText:SetText("");
	VivocUserAgreement_OnEvent(VivoxUserAgreement, "VIVOX_PACT");
	assert(VivoxUserAgreementText.text == "");
	VivoxUserAgreement:Hide();
	VivoxUserAgreementScrollFrameScrollBar.maxValue = 0;
	VivocUserAgreement_OnEvent(VivoxUserAgreement, "VIVOX_PACT");
	assert(VivoxUserAgreementOkayButton.enabled and VivoxUserAgreementCancelButton.enabled);
end

local check = checks[checkName];
if not check then error("no check named " .. tostring(checkName)) end
check();
