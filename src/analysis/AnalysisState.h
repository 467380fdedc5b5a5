#pragma once

// The analysis engine and the advisory texts: one shared instance each,
// created on first use and released by Shutdown (a member reached after the
// release gets a fresh instance).

class CReport;
class CText;

CReport& oReport();
CText& oText();
