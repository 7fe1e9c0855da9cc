#include "tests/e2e/ZipBuilder.h"

#include <algorithm>
#include <zip.h>

bool WriteZip(const std::string& path, const ZipEntries& entries)
{
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        return false;
    for (const auto& [name, content] : entries) {
        zip_source_t* source = zip_source_buffer(archive, content.data(), content.size(), 0);
        if (!source || zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_RAW) < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

ZipEntries MinimalXpsPackage()
{
    return {
        {"[Content_Types].xml",
         R"(<?xml version="1.0" encoding="utf-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>
<Default Extension="fdseq" ContentType="application/vnd.ms-package.xps-fixeddocumentsequence+xml"/>
<Default Extension="fdoc" ContentType="application/vnd.ms-package.xps-fixeddocument+xml"/>
<Default Extension="fpage" ContentType="application/vnd.ms-package.xps-fixedpage+xml"/>
<Default Extension="png" ContentType="image/png"/>
</Types>)"},
        {"_rels/.rels",
         R"(<?xml version="1.0" encoding="utf-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
<Relationship Id="R0" Type="http://schemas.microsoft.com/xps/2005/06/fixedrepresentation" Target="/FixedDocumentSequence.fdseq"/>
</Relationships>)"},
        {"FixedDocumentSequence.fdseq",
         R"(<FixedDocumentSequence xmlns="http://schemas.microsoft.com/xps/2005/06"><DocumentReference Source="/Documents/1/FixedDocument.fdoc"/></FixedDocumentSequence>)"},
        {"Documents/1/FixedDocument.fdoc",
         R"(<FixedDocument xmlns="http://schemas.microsoft.com/xps/2005/06"><PageContent Source="/Documents/1/Pages/1.fpage"/></FixedDocument>)"},
        {"Documents/1/Pages/1.fpage",
         R"(<FixedPage xmlns="http://schemas.microsoft.com/xps/2005/06" Width="816" Height="1056" xml:lang="en-US"><Path Data="M 96,96 L 720,96 720,960 96,960 Z" Fill="#FF3060C0"/></FixedPage>)"},
    };
}

void SetEntry(ZipEntries* entries, const std::string& name, const std::string& content)
{
    for (auto& entry : *entries) {
        if (entry.first == name) {
            entry.second = content;
            return;
        }
    }
    entries->emplace_back(name, content);
}

void RemoveEntry(ZipEntries* entries, const std::string& name)
{
    std::erase_if(*entries, [&](const auto& entry) { return entry.first == name; });
}
