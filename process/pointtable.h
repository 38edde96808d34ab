#pragma once

#include "iotypes.h"
#include "tcolor.h"

#include <cstddef>

// The controller's register map as the program knows it: every point with
// its code character, type, direction, scale, scan flag and edit box, and
// every bit with its lamp. The order of the points is the order of the
// point list and so the round-robin order of the poll.

enum class ScanMode {
    Off,      // read once after connecting and on "Uppdatera Skärm"
    On,       // read again and again
    Switched, // scanned while "Visa i realtid" is ticked
};

struct PointRow {
    const char* Title;
    char MsgCode;
    IOType Type;
    IODir Direction;
    double Scale;
    ScanMode Scan;
    const char* Edit; // object name of the edit box; nullptr: shown by lamps only
    bool Typed;       // whether the box accepts typing
};

struct BitRow {
    const char* Point; // title of the point the bit belongs to
    int Bit;
    const char* IOName;
    const char* Led; // object name of the lamp
    TColor OnColor;
    TColor OffColor;
};

constexpr double kTimeScale = 0.065536; // seconds per raw unit of the timer points

inline constexpr PointRow kPointTable[] = {
    {"Inputs", 'C', IOType::sByte, IODir::In, 1.0, ScanMode::On, nullptr, false},
    {"Out1", 'A', IOType::sByte, IODir::Out, 1.0, ScanMode::On, nullptr, false},
    {"Out2", 'D', IOType::sByte, IODir::Out, 1.0, ScanMode::On, nullptr, false},
    {"PortC", 'e', IOType::sByte, IODir::Out, 1.0, ScanMode::On, nullptr, false},
    {"FotoState", 'Z', IOType::sByte, IODir::In, 1.0, ScanMode::On, nullptr, false},
    {"Timer1", 'G', IOType::sWord, IODir::In, kTimeScale, ScanMode::Switched, "EditTimer1", false},
    {"Timer2", 'H', IOType::sWord, IODir::In, kTimeScale, ScanMode::Switched, "EditTimer2", false},
    {"Timer3", 'I', IOType::sWord, IODir::In, kTimeScale, ScanMode::Switched, "EditTimer3", false},
    {"Timer4", 'J', IOType::sWord, IODir::In, kTimeScale, ScanMode::Switched, "EditTimer4", false},
    {"T1", 'M', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit7", true},
    {"T2", 'N', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit8", true},
    {"T2B", 'Q', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit9", true},
    {"T3", 'O', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit10", true},
    {"T4", 'P', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit11", true},
    {"T5", '6', IOType::sWord, IODir::In, kTimeScale, ScanMode::On, "Edit12", true},
    {"T6", '5', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit13", true},
    {"T7", 'S', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit14", true},
    {"T8", 'T', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit15", true},
    {"VMax", 'R', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit16", true},
    {"VTill", '9', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off, "Edit17", true},
    {"MainState", 'X', IOType::sByte, IODir::In, 1.0, ScanMode::Switched, "EditMainState", false},
    {"Matning", 'L', IOType::sByte, IODir::In, 1.0, ScanMode::On, "EditMatning", false},
    {"PORT_B", 'B', IOType::sByte, IODir::In, 1.0, ScanMode::Switched, "EditPortB", false},
    {"PORT_E", 'E', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditPortE", false},
    {"LarmCounter", 'F', IOType::sByte, IODir::In, 1.0, ScanMode::On, "EditLarmCounter", false},
    {"TermoState", 'Y', IOType::sByte, IODir::In, 1.0, ScanMode::On, "EditTermoState", false},
    {"EEN_FelInnanLarm", 'K', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditFelInnanLarm",
     true},
    {"EETempSet", 'U', IOType::sWord, IODir::In, 1.0, ScanMode::Off, "EditTempSetpoint", true},
    {"EEPulsKvotMax", '1', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditPulskvotMax", true},
    {"EEPulsKvotMin", '2', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditPulskvotMin", true},
    {"EEReduceringstid", '3', IOType::sWord, IODir::In, kTimeScale, ScanMode::Off,
     "EditReduceringsTid", true},
    {"EEReduceringsprocent", '4', IOType::sByte, IODir::In, 1.0, ScanMode::Off,
     "EditReduceringsProcent", true},
    {"EEDriftTid", '7', IOType::sWord, IODir::In, 1.0, ScanMode::On, "EditDriftTid", false},
    {"EEDriftGrans", '8', IOType::sWord, IODir::In, 1.0, ScanMode::Off, "EditDriftGrans", true},
    {"Temperatur", 'a', IOType::sWord, IODir::In, 1.0, ScanMode::On, "EditTemperatur", false},
    {"K-V\xc3\xa4rde N\xc3\xa4mnare", 'b', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditPN",
     true},
    {"K-V\xc3\xa4rde T\xc3\xa4ljare", 'c', IOType::sByte, IODir::In, 1.0, ScanMode::Off, "EditPT",
     true},
    {"Integrator", 'd', IOType::sWord, IODir::In, 1.0, ScanMode::Off, "EditIntegrator", true},
    {"Version", 'V', IOType::sString, IODir::In, 1.0, ScanMode::Off, "EditVersion", false},
    {"LarmRegister", 'f', IOType::sByte, IODir::Out, 1.0, ScanMode::On, nullptr, false},
    {"LarmMask", 'g', IOType::sByte, IODir::Out, 1.0, ScanMode::Off, "EditLarmMask", false},
    {"EELarmTemp", 'h', IOType::sWord, IODir::In, 1.0, ScanMode::Off, "EditLarmTemp", true},
    {"EEMaxtid", 'i', IOType::sWord, IODir::In, 1.0, ScanMode::Off, "EditMaxTid", true},
    {"IntegratorIntern", 'j', IOType::SignsWord, IODir::In, 1.0, ScanMode::On,
     "EditIntegratorIntern", false},
};

// Titles and names are UTF-8.
inline constexpr BitRow kBitTable[] = {
    {"Inputs", 0, "FotoCell", "Led2", clYellow, clBtnFace},
    {"Inputs", 1, "Termostat", "Led3", clBtnFace, clLime},
    {"Inputs", 2, "TermoTop", "Led4", clBtnFace, clLime},
    {"Inputs", 3, "TermoBotten", "Led5", clBtnFace, clLime},
    {"Inputs", 4, "PelletsSlut", "Led6", clBtnFace, clLime},
    {"Inputs", 5, "Option", "Led7", clBtnFace, clLime},
    {"Inputs", 6, "Spj\xc3\xa4llKvittens", "Led8", clBtnFace, clLime},
    {"Inputs", 7, "F\xc3\xb6rregling", "Led9", clBtnFace, clLime},
    {"Out1", 0, "Spiral", "Led10", clRed, clBtnFace},
    {"Out1", 1, "R\xc3\xb6kgasFl\xc3\xa4kt", "Led11", clRed, clBtnFace},
    {"Out1", 2, "CirkPump", "Led12", clRed, clBtnFace},
    {"Out1", 3, "Skruv", "Led13", clRed, clBtnFace},
    {"Out1", 4, "DysPump", "Led14", clRed, clBtnFace},
    {"Out1", 5, "Rotor", "Led15", clRed, clBtnFace},
    {"Out1", 6, "Sintring", "Led16", clRed, clBtnFace},
    {"Out1", 7, "Askurmatning", "Led17", clRed, clBtnFace},
    {"Out2", 0, "Larm", "Led18", clRed, clBtnFace},
    {"Out2", 1, "Spjall", "Led19", clRed, clBtnFace},
    {"PortC", 2, "Flakt", "Led20", clRed, clBtnFace},
    {"PortC", 0, "Wdog", "Led25", clRed, clBtnFace},
    {"FotoState", 0, "FototimeOut", "Led1", clYellow, clBtnFace},
    {"LarmRegister", 0, "F\xc3\xb6rreglingsLarm", "Led21", clRed, clBtnFace},
    {"LarmRegister", 1, "UraskningsLarm", "Led22", clRed, clBtnFace},
    {"LarmRegister", 2, "PelletsSlutLarm", "Led23", clRed, clBtnFace},
    {"LarmRegister", 3, "StartProblemLarm", "Led24", clRed, clBtnFace},
    {"LarmRegister", 4, "Maxtemp", "Led26", clRed, clBtnFace},
    {"LarmRegister", 5, "R\xc3\xb6kgaslarm", "Led27", clRed, clBtnFace},
    {"LarmRegister", 6, "Ej Anv\xc3\xa4nd3", "Led28", clRed, clBtnFace},
    {"LarmRegister", 7, "Ej Anv\xc3\xa4nd4", "Led29", clRed, clBtnFace},
    {"LarmMask", 0, "", "Led30", clRed, clBtnFace},
    {"LarmMask", 1, "", "Led31", clRed, clBtnFace},
    {"LarmMask", 2, "", "Led32", clRed, clBtnFace},
    {"LarmMask", 3, "", "Led33", clRed, clBtnFace},
    {"LarmMask", 4, "", "Led34", clRed, clBtnFace},
    {"LarmMask", 5, "", "Led35", clRed, clBtnFace},
    {"LarmMask", 6, "", "Led36", clRed, clBtnFace},
    {"LarmMask", 7, "", "Led37", clRed, clBtnFace},
};

constexpr std::size_t kPointCount = std::size(kPointTable);
constexpr std::size_t kBitCount = std::size(kBitTable);
static_assert(kPointCount == 44);
static_assert(kBitCount == 37);
