#include "tests/sweep/sweep_system.h"

#include <filesystem>
#include <stdexcept>

#include "tests/support/fixtures/dialog_user.h"
#include "tests/support/fixtures/install_record_reader.h"

testsupport::SampleDiscOptions SweepDiscOptions() {
    testsupport::SampleDiscOptions options;
    options.programSize = 2048;
    options.programDataSize = 4096;
    options.fileSize = 512;
    options.filesPerFolder = 2;
    options.nested = false;
    return options;
}

SweepSystem::SweepSystem() : m_root(testsupport::TempSystemRootOptions::WithCdrom()) {
    testsupport::MakeSampleDisc(discFolder(), SweepDiscOptions());
    std::string error;
    m_real = testsupport::OpenRootPlatform(m_root, &error);
    if (!m_real) throw std::runtime_error(error);
    faultplat::FaultPlan plan;
    // The host's free space does not matter to a sweep.
    plan.freeBytes['C'] = 64ull << 30;
    m_faults = std::make_unique<faultplat::FaultPlatform>(m_real->platform(), std::move(plan));

    const std::string programs = testsupport::ReadShellFolder(registry(), "Programs");
    const std::string desktop = testsupport::ReadShellFolder(registry(), "Desktop");
    for (const std::string& folder : {programs, desktop}) {
        const std::string host = HostPath(folder);
        std::filesystem::create_directories(std::filesystem::path(std::u8string(host.begin(), host.end())));
    }
    m_programsLink = programs + "\\Velstra\\ハルネア\\ハルネア.lnk";
    m_desktopLink = desktop + "\\ハルネア.lnk";
}

std::string SweepSystem::RootRelative(const std::string& windowsPath) const {
    return HostPath(windowsPath).substr(root().size() + 1);
}

CInstallerDlg& SweepSystem::Start() {
    m_dlg.reset();
    m_host = std::make_unique<HeadlessDialogHost>();
    m_discPrompts = 0;
    m_host->SetAnswerer([this](const std::string&, unsigned flags) {
        const unsigned buttons = flags & plat::kMbTypeMask;
        if (buttons == plat::kMbYesNo) return plat::kIdYes;
        if (buttons == plat::kMbOkCancel) return ++m_discPrompts == 1 ? plat::kIdOk : plat::kIdCancel;
        return plat::kIdOk;
    });
    m_dlg = std::make_unique<CInstallerDlg>(m_faults->platform(), *m_host);
    m_dlg->OnInitDialog();
    return *m_dlg;
}

void SweepSystem::Click(int id) { testsupport::ClickControl(*m_host, *m_dlg, id); }

void SweepSystem::ChooseFullInstallWithBothShortcuts() {
    testsupport::SelectItem(*m_host, *m_dlg, IDC_SOURCE_DRIVE, "Q");
    testsupport::SelectItem(*m_host, *m_dlg, IDC_DEST_DRIVE, "C");
    Click(IDC_MODE_FULL);
    Click(IDC_SHORTCUT_PROGRAMS);
    Click(IDC_SHORTCUT_DESKTOP);
}

std::string SweepSystem::LastMessage() const {
    return m_host->Messages().empty() ? std::string() : m_host->Messages().back().text;
}
