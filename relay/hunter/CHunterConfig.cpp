#include "relay/hunter/CHunterConfig.h"

CHunterConfig::CHunterConfig(CHunterSettings* settings) : m_pSettings(settings) {}

CHunterConfig::CHunterConfig(const CHunterConfig& other) = default;
CHunterConfig& CHunterConfig::operator=(const CHunterConfig& other) = default;

void CHunterConfig::Init() { m_ProxyConfig.setShouldStop(false); }
