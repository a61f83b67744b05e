// The site that hosts the browser control, without the control: COM's rules
// for its identity and reference count, and which of the control's calls it
// answers itself and which it hands on to the class derived from it.
#include "ui_win32/ole_site.h"

#include <exdispid.h>
#include <mshtmdid.h>

#include <vector>

#include <gtest/gtest.h>

namespace {

// Records the events handed on and takes only BeforeNavigate2.
class RecordingSite final : public ui_win32::OleSite {
public:
    RecordingSite(HWND container, bool& gone) : OleSite(container), m_gone(&gone) {}

    std::vector<DISPID> events;

private:
    ~RecordingSite() override { *m_gone = true; }

    bool OnControlEvent(DISPID id, DISPPARAMS*) override
    {
        events.push_back(id);
        return id == DISPID_BEFORENAVIGATE2;
    }

    bool* m_gone;
};

class OleSiteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_top = ::CreateWindowExW(0, L"STATIC", L"site", WS_OVERLAPPEDWINDOW, 0, 0, 400, 200, nullptr, nullptr, nullptr,
                                  nullptr);
        m_container = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 10, 10, 300, 100, m_top, nullptr,
                                        nullptr, nullptr);
        ASSERT_TRUE(m_top && m_container);
        m_site = new RecordingSite(m_container, m_gone);
    }
    void TearDown() override { ::DestroyWindow(m_top); }

    HWND m_top = nullptr;
    HWND m_container = nullptr;
    bool m_gone = false;
    RecordingSite* m_site = nullptr; // one reference, the test's
};

TEST_F(OleSiteTest, EveryInterfaceIsOneObjectThatGoesWithItsLastReference)
{
    IUnknown* identity = nullptr;
    ASSERT_EQ(m_site->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)), S_OK);
    std::vector<IUnknown*> held;
    for (const IID& iid : {IID_IOleClientSite, IID_IOleWindow, IID_IOleInPlaceSite, IID_IOleInPlaceUIWindow,
                           IID_IOleInPlaceFrame, IID_IDocHostUIHandler, IID_IDispatch, DIID_DWebBrowserEvents2}) {
        IUnknown* face = nullptr;
        ASSERT_EQ(m_site->QueryInterface(iid, reinterpret_cast<void**>(&face)), S_OK);
        IUnknown* same = nullptr;
        ASSERT_EQ(face->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&same)), S_OK);
        EXPECT_EQ(same, identity);
        same->Release();
        held.push_back(face);
    }
    void* none = &none; // anything but null, to see it cleared
    EXPECT_EQ(m_site->QueryInterface(IID_IStream, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);

    // The frame the control is given is a reference of its own.
    IOleInPlaceFrame* frame = nullptr;
    IOleInPlaceUIWindow* document = nullptr;
    RECT position{};
    RECT clip{};
    OLEINPLACEFRAMEINFO info{};
    info.cb = sizeof(info);
    ASSERT_EQ(m_site->GetWindowContext(&frame, &document, &position, &clip, &info), S_OK);
    EXPECT_EQ(info.hwndFrame, m_top);
    EXPECT_EQ(position.right, 300);
    EXPECT_EQ(document, nullptr);
    held.push_back(frame);
    HWND window = nullptr;
    EXPECT_EQ(m_site->GetWindow(&window), S_OK);
    EXPECT_EQ(window, m_container);

    for (IUnknown* face : held)
        face->Release();
    identity->Release();
    EXPECT_FALSE(m_gone);
    EXPECT_EQ(m_site->Release(), 0u);
    EXPECT_TRUE(m_gone);
}

TEST_F(OleSiteTest, TheSiteAnswersWhatMayBeDownloadedAndHandsOnTheEvents)
{
    DISPPARAMS nothing{};
    VARIANT result;
    ::VariantInit(&result);
    ASSERT_EQ(m_site->Invoke(DISPID_AMBIENT_DLCONTROL, IID_NULL, 0, DISPATCH_PROPERTYGET, &nothing, &result, nullptr,
                             nullptr),
              S_OK);
    ASSERT_EQ(result.vt, VT_I4);
    const long expected = DLCTL_DLIMAGES | DLCTL_NO_JAVA | DLCTL_NO_DLACTIVEXCTLS | DLCTL_NO_RUNACTIVEXCTLS;
    EXPECT_EQ(result.lVal & expected, expected);
    EXPECT_TRUE(m_site->events.empty());

    EXPECT_EQ(m_site->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &nothing, nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(
        m_site->Invoke(DISPID_STATUSTEXTCHANGE, IID_NULL, 0, DISPATCH_METHOD, &nothing, nullptr, nullptr, nullptr),
        DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(m_site->events, (std::vector<DISPID>{DISPID_BEFORENAVIGATE2, DISPID_STATUSTEXTCHANGE}));
    m_site->Release();
}

} // namespace
