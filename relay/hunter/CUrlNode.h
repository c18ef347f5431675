#pragma once
// One address of the hunter's crawl: the address, its base (scheme and host,
// against which relative links resolve, or "ERROR_IN_URL"), the file the
// page is kept in, and its depth.

#include <string>
#include <vector>

class CUrlNode {
public:
    static constexpr const char* kErrorInUrl = "ERROR_IN_URL";
    // Longest page file name; a longer one becomes a prefix and a hash.
    static constexpr std::size_t kMaxFileName = 255;

    // setUrl with address, RetrieveBaseUrl, then setLocalFileName.
    void SetParams(const std::string& folder, const std::string& address);

    const std::string& getUrl() const { return m_Url; }
    const std::string& getBaseURL() const { return m_BaseUrl; }
    const std::string& getFileName() const { return m_FileName; }
    int getLevel() const { return m_Level; }
    void setLevel(int level) { m_Level = level; }
    void SetParsed(int parsed) { m_Parsed = parsed; }

    // Lower case; "http://" in front unless it has a scheme. A local file
    // named as it exists, or a file:// address, keeps its case.
    void setUrl(const std::string& address);
    void setBaseUrl(const std::string& base) { m_BaseUrl = base; }
    void setLocalFileName(const std::string& folder, const std::string& address);
    bool IsItLocalFile() const;
    void RetrieveBaseUrl();

    // The top-level labels a base address may end in.
    static const std::vector<std::string>& InitDomainArray();

private:
    std::string m_Url;
    std::string m_BaseUrl;
    std::string m_FileName;
    int m_Level = 0;
    int m_Parsed = 0;
};
