#pragma once

#include <span>

namespace mareldon {

// Every text of the test mode, cp932. A pair holds the Japanese text first and the
// English one second; a single text (no English) repeats the Japanese one, so every
// text is read the same way whatever the language. mbdtool reads the table to give
// the placeholder font a glyph for every character here.
struct TextPair {
    const char* text[2];
    const char* operator[](int language) const { return text[language == 1 ? 1 : 0]; }
};

namespace TestModeTexts {

constexpr TextPair kMenuTitle = {
    "<<\x83"
    "e\x83X\x83g\x83\x82\x81[\x83h>>",
    "<<TEST MODE>>"};
constexpr TextPair kMenuScreenAdjustment = {
    "\x89\xe6\x96\xca\x83"
    "e\x83X\x83g",
    "SCREEN ADJUSTMENT"};
constexpr TextPair kMenuInputTest = {
    "\x93\xfc\x97\xcd\x83"
    "e\x83X\x83g",
    "INPUT DEVICE TEST"};
constexpr TextPair kMenuSoundTest = {
    "\x83T\x83"
    "E\x83\x93\x83h\x90\xdd\x92\xe8",
    "SOUND TEST"};
constexpr TextPair kMenuSystem = {
    "\x83V\x83X\x83"
    "e\x83\x80\x90\xdd\x92\xe8",
    "SYSTEM TEST"};
constexpr TextPair kMenuGameConfiguration = {"\x83Q\x81[\x83\x80\x90\xdd\x92\xe8", "GAME CONFIGURATION"};
constexpr TextPair kMenuFactory = {"\x8f\x89\x8a\xfa\x90\xdd\x92\xe8\x92l\x82\xc9\x96\xdf\x82\xb7",
                                   "FACTORY SETTING"};
constexpr TextPair kMenuResetHighScore = {
    "\x83n\x83"
    "C\x83X\x83R\x83"
    "A\x8f\xc1\x8b\x8e",
    "RESETTING HIGH-SCORE"};
constexpr TextPair kMenuExit = {
    "\x8fI\x97\xb9(\x83\x8a\x83Z\x83"
    "b\x83g)",
    "EXIT(RESET)"};
constexpr TextPair kHelpScreenAdjustment = {
    "\x89\xe6\x96\xca\x82\xcc\x8f"
    "c\x89\xa1\x94\xe4, \x90"
    "F\x82\xcc\x8am\x94"
    "F",
    "Adjust the ratio and color of the screen."};
constexpr TextPair kHelpInputTest = {
    "\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x81"
    "A\x83{\x83^\x83\x93\x82\xcc\x93\xae\x8d\xec\x8am\x94"
    "F",
    "BUTTON and JOYSTICK test."};
constexpr TextPair kHelpSoundTest = {
    "\x89\xb9\x82\xcc\x8e\x8e\x92\xae\x81"
    "A\x89\xb9\x97\xca/\x83o\x83\x89\x83\x93\x83X\x82\xcc\x90\xdd\x92\xe8",
    "Tune the volume and sound balance."};
constexpr TextPair kHelpSystem = {
    "\x83R\x83"
    "C\x83\x93\x81"
    "A\x83R\x83\x93\x83"
    "e\x83"
    "B\x83j\x83\x85\x81[\x82\xc8\x82\xc7\x82\xcc\x90\xdd\x92\xe8",
    "Setup coin register setting."};
constexpr TextPair kHelpGameConfiguration = {"\x93\xef\x88\xd5\x93x\x82\xc8\x82\xc7\x82\xcc\x90\xdd\x92\xe8",
                                             "Set difficulty level."};
constexpr TextPair kHelpFactory = {
    "\x91S\x82\xc4\x82\xcc\x90\xdd\x92\xe8\x82\xf0\x8f\x89\x8a\xfa\x92l\x82\xc9\x96\xdf\x82\xb7",
    "Load default values to the system configuration."};
constexpr TextPair kHelpResetHighScore = {
    "\x83n\x83"
    "C\x83X\x83R\x83"
    "A\x82\xcc\x8f\xc1\x8b\x8e",
    "Clear high-score data."};
constexpr TextPair kHelpExit = {"\x83Q\x81[\x83\x80\x82\xc9\x96\xdf\x82\xe9", "End of TESTMODE."};
constexpr TextPair kMenuKeySelect = {
    "\x8d\x80\x96\xda\x88\xda\x93\xae\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8f\xe3\x89\xba",
    "SELECTION : JOYSTICK Up or Down"};
constexpr TextPair kMenuKeyAction = {
    "\x8c\x88\x92\xe8\x81@\x81@\x81"
    "F\x83{\x83^\x83\x93",
    "ACTION\x81@\x81@: Press BUTTON\x81@\x81@\x81@ "};
constexpr TextPair kVersion = {"MARELDON FENTORAL QUORVELLANS Ver.2.02J",
                               "MARELDON FENTORAL QUORVELLANS Ver.2.02J"};
constexpr TextPair kBuildDate = {"2004/09/22 21:00", "2004/09/22 21:00"};
constexpr TextPair kCursorMark = {">", ">"};
constexpr TextPair kKeySelect = {
    "\x8d\x80\x96\xda\x88\xda\x93\xae\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8f\xe3\x89\xba",
    "SELECTION : JOYSTICK Up or Down"};
constexpr TextPair kKeyChange = {
    "\x92l\x82\xcc\x95\xcf\x8dX\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8d\xb6\x89"
    "E",
    "CHANGE VALUME : JOYSTICK Right or Left"};
constexpr TextPair kKeyAnswer = {
    "\x8d\x80\x96\xda\x88\xda\x93\xae\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8d\xb6\x89"
    "E",
    "\x8d\x80\x96\xda\x88\xda\x93\xae\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8d\xb6\x89"
    "E"};
constexpr TextPair kKeyConfirm = {
    "\x8c\x88\x92\xe8\x81"
    "F\x83{\x83^\x83\x93",
    "\x8c\x88\x92\xe8\x81"
    "F\x83{\x83^\x83\x93"};
constexpr TextPair kSaveQuestion = {
    "\x91S\x82\xc4\x82\xcc\x95\xcf\x8dX\x93_\x82\xf0\x83Z\x81[\x83u\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81H",
    "SAVE ALL MODIFICATIONS?"};
constexpr TextPair kYes = {"\x82\xcd\x82\xa2", "YES"};
constexpr TextPair kNo = {"\x82\xa2\x82\xa2\x82\xa6", "NO"};
constexpr TextPair kYesSelected = {"[\x82\xcd\x82\xa2]", "[YES]"};
constexpr TextPair kNoSelected = {"[\x82\xa2\x82\xa2\x82\xa6]", "[NO]"};
constexpr TextPair kSaveHelp = {"\x90\xdd\x92\xe8\x82\xf0\x95\xdb\x91\xb6\x82\xb5\x82\xc4\x96\xdf\x82\xe9",
                                "Save all modifications and return to game."};
constexpr TextPair kDiscardHelp = {
    "\x90\xdd\x92\xe8\x82\xf0\x95\xdb\x91\xb6\x82\xb5\x82\xc8\x82\xa2\x82\xc5\x96\xdf\x82\xe9",
    "Return to game without saving modifications."};
constexpr TextPair kGameTitle = {"<<\x83Q\x81[\x83\x80\x90\xdd\x92\xe8>>",
                                 "<<\x83Q\x81[\x83\x80\x90\xdd\x92\xe8>>"};
constexpr TextPair kDifficulty = {"\x93\xef\x88\xd5\x93x", "\x93\xef\x88\xd5\x93x"};
constexpr TextPair kShipStock = {
    "\x8e\xa9\x8b@\x83X\x83g\x83"
    "b\x83N",
    "\x8e\xa9\x8b@\x83X\x83g\x83"
    "b\x83N"};
constexpr TextPair kBombStock = {
    "\x83{\x83\x80\x83X\x83g\x83"
    "b\x83N",
    "\x83{\x83\x80\x83X\x83g\x83"
    "b\x83N"};
constexpr TextPair kReturn = {"\x96\xdf\x82\xe9", "\x96\xdf\x82\xe9"};
constexpr TextPair kDifficultyHelp = {"\x83Q\x81[\x83\x80\x93\xef\x88\xd5\x93x\x82\xcc\x90\xdd\x92\xe8",
                                      "Game difficulty."};
constexpr TextPair kShipStockHelp = {
    "\x8e\xa9\x8b@\x83X\x83g\x83"
    "b\x83N\x90\x94\x82\xcc\x90\xdd\x92\xe8",
    "Ship stock."};
constexpr TextPair kBombStockHelp = {
    "\x83{\x83\x80\x83X\x83g\x83"
    "b\x83N\x90\x94\x82\xcc\x90\xdd\x92\xe8",
    "Bomb stock."};
constexpr TextPair kGameReturnHelp = {"\x83Q\x81[\x83\x80\x90\xdd\x92\xe8\x82\xcc\x8fI\x97\xb9",
                                      "GameConfiguration End."};
constexpr TextPair kEasy = {"\x88\xd5\x82\xb5\x82\xa2", "\x88\xd5\x82\xb5\x82\xa2"};
constexpr TextPair kHard = {"\x93\xef\x82\xb5\x82\xa2", "\x93\xef\x82\xb5\x82\xa2"};
constexpr TextPair kSystemTitle = {
    "<<\x83V\x83X\x83"
    "e\x83\x80\x90\xdd\x92\xe8>>",
    "<<SET SYSTEM>>"};
constexpr TextPair kOperating = {"\x83I\x83y\x83\x8c\x81[\x83g\x90\xdd\x92\xe8", "OPERATING SET UP"};
constexpr TextPair kCoin = {
    "\x83R\x83"
    "C\x83\x93",
    "COIN"};
constexpr TextPair kCredit = {
    "\x83N\x83\x8c\x83W\x83"
    "b\x83g",
    "CREDIT"};
constexpr TextPair kContinueCoin = {
    "\x83R\x83\x93\x83"
    "e\x83"
    "B\x83j\x83\x85\x81[\x97\xbf\x8b\xe0",
    "CONTINUE COIN"};
constexpr TextPair kContinue = {
    "\x83R\x83\x93\x83"
    "e\x83"
    "B\x83j\x83\x85\x81[",
    "CONTINUE"};
constexpr TextPair kDemoSound = {
    "\x83"
    "f\x83\x82\x8e\x9e\x8c\xf8\x89\xca\x89\xb9",
    "DEMO'S SOUND"};
constexpr TextPair kSystemReturn = {"\x96\xdf\x82\xe9", "RETURN"};
constexpr TextPair kOperatingHelp = {
    "\x92\xca\x8f\xed\x83v\x83\x8c\x83"
    "C/\x83t\x83\x8a\x81[\x83v\x83\x8c\x83"
    "C\x82\xcc\x90\xdd\x92\xe8",
    ""};
constexpr TextPair kCoinHelp = {
    "\x83N\x83\x8c\x83W\x83"
    "b\x83g\x82\xaa\x97L\x8c\xf8\x82\xc9\x82\xc8\x82\xe9\x83R\x83"
    "C\x83\x93\x90\x94\x82\xcc\x90\xdd\x92\xe8",
    ""};
constexpr TextPair kCreditHelp = {
    "\x97L\x8c\xf8\x83R\x83"
    "C\x83\x93\x90\x94\x93\x96\x82\xbd\x82\xe8\x82\xcc\x83N\x83\x8c\x83W\x83"
    "b\x83g\x90\x94\x82\xcc\x90\xdd\x92\xe8",
    ""};
constexpr TextPair kContinueCoinHelp = {
    "\x8cp\x91\xb1\x83v\x83\x8c\x83"
    "C\x82\xc9\x95K\x97v\x82\xc8\x83R\x83"
    "C\x83\x93\x90\x94\x82\xcc\x90\xdd\x92\xe8",
    ""};
constexpr TextPair kContinueHelp = {
    "\x83R\x83\x93\x83"
    "e\x83"
    "B\x83j\x83\x85\x81[\x82\xcc\x97L\x96\xb3",
    ""};
constexpr TextPair kDemoSoundHelp = {
    "\x83"
    "f\x83\x82\x8e\x9e\x82\xcc\x8c\xf8\x89\xca\x89\xb9\x82\xcc\x97L\x96\xb3",
    ""};
constexpr TextPair kSystemReturnHelp = {
    "\x83V\x83X\x83"
    "e\x83\x80\x90\xdd\x92\xe8\x82\xcc\x8fI\x97\xb9",
    ""};
constexpr TextPair kNormalPlay = {
    "\x92\xca\x8f\xed\x83v\x83\x8c\x83"
    "C",
    "NORMAL PLAY"};
constexpr TextPair kFreePlay = {
    "\x83t\x83\x8a\x81[\x83v\x83\x8c\x83"
    "C",
    "FREE PLAY"};
constexpr TextPair kSamePlay = {
    "\x83v\x83\x8c\x83"
    "C\x97\xbf\x8b\xe0\x82\xc6\x93\xaf\x82\xb6",
    "SAME PLAY"};
constexpr TextPair kCoinUnit = {
    "\x83R\x83"
    "C\x83\x93",
    "\x83R\x83"
    "C\x83\x93"};
constexpr TextPair kOff = {"\x82\xc8\x82\xb5", "OFF"};
constexpr TextPair kOn = {"\x82\xa0\x82\xe8", "ON"};
constexpr TextPair kFactoryTitle = {"<<\x8f\x89\x8a\xfa\x90\xdd\x92\xe8\x92l\x82\xc9\x96\xdf\x82\xb7>>",
                                    "<<FACTORY SETTING>>"};
constexpr TextPair kFactoryQuestion = {
    "\x90\xdd\x92\xe8\x82\xf0\x91S\x82\xc4\x8f\x89\x8a\xfa\x92l\x82\xc9\x96\xdf\x82\xb5\x82\xdc\x82\xb7\x82"
    "\xa9\x81H",
    "Load setup default?"};
constexpr TextPair kFactoryYesHelp = {
    "\x90\xdd\x92\xe8\x82\xf0\x8f\x89\x8a\xfa\x89\xbb\x82\xb5\x82\xc4\x96\xdf\x82\xe9",
    "Load setup default and return."};
constexpr TextPair kFactoryNoHelp = {
    "\x90\xdd\x92\xe8\x82\xf0\x8f\x89\x8a\xfa\x89\xbb\x82\xb9\x82\xb8\x82\xc9\x96\xdf\x82\xe9",
    "Keep setting and return."};
constexpr TextPair kHighScoreTitle = {
    "<<\x83n\x83"
    "C\x83X\x83R\x83"
    "A\x8f\xc1\x8b\x8e>>",
    "<<RESETTING HIGH-SCORE>>"};
constexpr TextPair kHighScoreQuestion = {
    "\x83n\x83"
    "C\x83X\x83R\x83"
    "A\x82\xf0\x8f\xc1\x8b\x8e\x82\xb5\x82\xdc\x82\xb7\x82\xa9\x81H",
    "Clear high-score data?"};
constexpr TextPair kHighScoreYesHelp = {
    "\x83"
    "f\x81[\x83^\x82\xf0\x8f\xc1\x8b\x8e\x82\xb5\x82\xc4\x96\xdf\x82\xe9",
    "Clear high-score data and return."};
constexpr TextPair kHighScoreNoHelp = {
    "\x83"
    "f\x81[\x83^\x82\xf0\x8f\xc1\x8b\x8e\x82\xb9\x82\xb8\x82\xc9\x96\xdf\x82\xe9",
    "Keep high-score data and return."};
constexpr TextPair kAnswerKeySelect = {
    "\x8d\x80\x96\xda\x88\xda\x93\xae\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x82\xcc\x8d\xb6\x89"
    "E",
    "SELECTION : JOYSTICK Right or Left"};
constexpr TextPair kAnswerKeyAction = {
    "\x8c\x88\x92\xe8\x81@\x81@\x81"
    "F\x83{\x83^\x83\x93",
    "ACTION    : Press BUTTON"};
constexpr TextPair kInputTitle = {
    "<<\x93\xfc\x97\xcd\x83"
    "e\x83X\x83g>>",
    "<<INPUT DEVICE TEST>>"};
constexpr TextPair kPlayer = {
    "\x83v\x83\x8c\x83"
    "C\x83\x84\x81[",
    "PLAYER"};
constexpr TextPair kJoystick = {
    "\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N",
    "JOYSTICK"};
constexpr TextPair kButton = {"\x83{\x83^\x83\x93", "BUTTON"};
constexpr TextPair kStart = {"\x83X\x83^\x81[\x83g :", "START"};
constexpr TextPair kStickUp = {"\x8f\xe3", " U"};
constexpr TextPair kStickLeftRight = {
    "\x8d\xb6\x81{\x89"
    "E",
    " L+R "};
constexpr TextPair kStickDown = {"\x89\xba", " D"};
constexpr TextPair kSwitchOn = {"ON", "ON"};
constexpr TextPair kSwitchOff = {"OFF", "OFF"};
constexpr TextPair kCoinSwitch = {
    "\x83R\x83"
    "C\x83\x93",
    "COIN"};
constexpr TextPair kLeaveHelp = {
    "\x83"
    "e\x83X\x83g\x96\x94\x82\xcd\x83T\x81[\x83r\x83X\x83X\x83"
    "C\x83"
    "b\x83`\x82\xc5\x96\xdf\x82\xe9",
    "RETURN : Press TEST or SERVICE BUTTON"};
constexpr TextPair kSoundTitle = {
    "<<\x83T\x83"
    "E\x83\x93\x83h\x90\xdd\x92\xe8>>",
    "<<SOUND TEST>>"};
constexpr TextPair kSe = {
    "\x82r\x82"
    "d",
    "SE"};
constexpr TextPair kBgm = {
    "\x82"
    "a\x82"
    "f\x82l",
    "BGM"};
constexpr TextPair kSeVolume = {
    "\x82r\x82"
    "d\x89\xb9\x97\xca ",
    "SE VOLUME"};
constexpr TextPair kBgmVolume = {
    "\x82"
    "a\x82"
    "f\x82l\x89\xb9\x97\xca",
    "BGM VOLUME"};
constexpr TextPair kBalance = {"\x83o\x83\x89\x83\x93\x83X", "BALANCE"};
constexpr TextPair kSoundReturn = {"\x96\xdf\x82\xe9", "RETURN"};
constexpr TextPair kSeHelp = {
    "\x83{\x83^\x83\x93\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x82r\x82"
    "d\x82\xaa\x96\xc2\x82\xe9",
    "Listen SE."};
constexpr TextPair kBgmHelp = {
    "\x83{\x83^\x83\x93\x82\xf0\x89\x9f\x82\xb7\x82\xc6\x82"
    "a\x82"
    "f\x82l\x82\xaa\x96\xc2\x82\xe9",
    "Listen BGM."};
constexpr TextPair kSeVolumeHelp = {
    "\x82r\x82"
    "d\x82\xcc\x89\xb9\x97\xca\x82\xf0\x90\xdd\x92\xe8",
    "Set SE volume"};
constexpr TextPair kBgmVolumeHelp = {
    "\x82"
    "a\x82"
    "f\x82l\x82\xcc\x89\xb9\x97\xca\x82\xf0\x90\xdd\x92\xe8",
    "Set BGM volume"};
constexpr TextPair kBalanceHelp = {
    "\x8d\xb6\x89"
    "E\x83o\x83\x89\x83\x93\x83X\x82\xcc\x90\xdd\x92\xe8",
    "Set panning balance"};
constexpr TextPair kSoundReturnHelp = {
    "\x83T\x83"
    "E\x83\x93\x83h\x90\xdd\x92\xe8\x82\xcc\x8fI\x97\xb9",
    "End of SOUND TEST"};
constexpr TextPair kSoundKeySelect = {
    "\x91I\x91\xf0\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x8f\xe3\x89\xba",
    "SELECTION : JOYSTICK Up or Down"};
constexpr TextPair kSoundKeyChange = {
    "\x95\xcf\x8dX\x81"
    "F\x83W\x83\x87\x83"
    "C\x83X\x83"
    "e\x83"
    "B\x83"
    "b\x83N\x8d\xb6\x89"
    "E",
    "CHANGE VALUME : JOYSTICK Right or Left"};
constexpr TextPair kSmall = {"\x8f\xac", "\x8f\xac"};
constexpr TextPair kLarge = {"\x91\xe5", "\x91\xe5"};
constexpr TextPair kLeft = {"\x8d\xb6", "\x8d\xb6"};
constexpr TextPair kRight = {
    "\x89"
    "E",
    "\x89"
    "E"};

// Every pair above.
std::span<const TextPair> All();

}  // namespace TestModeTexts

}  // namespace mareldon
