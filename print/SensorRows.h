#pragma once
// The rows of a signal input (the multifunction input in mode 1 and the
// controller's inputs in mode 1): the labels and the values they print.

#include <QString>

#include <cstdint>

class TReportLabel;

struct SensorLabels {
    TReportLabel* m_pDirektruf = nullptr;
    TReportLabel* m_pDirektRnr = nullptr;
    TReportLabel* m_pKettenruf = nullptr;
    TReportLabel* m_pKettenRnr = nullptr;
    TReportLabel* m_pSprachausgabe = nullptr;
    TReportLabel* m_pSMSImmer = nullptr;
    TReportLabel* m_pSMSDirektRnr = nullptr;
    TReportLabel* m_pSMSKettenRnr = nullptr;
    TReportLabel* m_pSMSErfolg = nullptr;
    TReportLabel* m_pProvider = nullptr;
    TReportLabel* m_pSMSRnr = nullptr;
    TReportLabel* m_pText = nullptr;
};

struct SensorValues {
    std::uint8_t direktruf = 0;
    QString direktRnr;
    std::uint8_t kettenruf = 0;
    QString kettenRnr;
    std::uint8_t sprache = 0;
    std::uint8_t smsImmer = 0;
    std::uint8_t smsKeinDirektruf = 0;
    std::uint8_t smsKeinKettenruf = 0;
    std::uint8_t smsVerbindung = 0;
    std::uint8_t providerIdx = 0xFF; // 255: none
    QString smsRnr;
    QString text;
};
