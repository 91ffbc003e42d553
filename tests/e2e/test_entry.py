"""One instance per log-on: the real program under Wine."""
import time

from harness import (ALREADY_RUNNING, MAIN_CAPTION, MAIN_CLASS, NOTICE_CAPTION, BM_CLICK,
                     WineTestCase, atom_present, children, drv, end_normally, find, main_windows,
                     screenshot, wait_for, wait_skinned)


def reminder_boxes():
    return find(title=NOTICE_CAPTION, cls="#32770")


def dismiss(box):
    for c in children(box["hwnd"]):
        if c["class"] == "Button":
            drv("send", c["hwnd"], BM_CLICK, 0, 0)
            return True
    return False


class EntryTest(WineTestCase):
    def start_first(self):
        first = self.start()
        shown = wait_for(cls=MAIN_CLASS)
        self.assertTrue(shown, "the main window did not appear")
        return first, shown[0]

    def test_first_start_shows_the_main_window_and_claims_the_marker(self):
        _, main = self.start_first()
        self.assertEqual(main["title"], MAIN_CAPTION)
        self.assertEqual(main["client"][2:], [530, 386])
        self.assertTrue(atom_present())
        screenshot("entry-main-window", main["hwnd"])

    def test_second_start_shows_the_reminder_once_and_leaves_the_first_alone(self):
        first, main = self.start_first()
        second = self.start()
        boxes = wait_for(title=NOTICE_CAPTION, cls="#32770")
        self.assertEqual(len(boxes), 1)
        texts = [c["title"] for c in children(boxes[0]["hwnd"])]
        self.assertIn(ALREADY_RUNNING, texts)
        wait_skinned(boxes[0]["hwnd"])
        screenshot("entry-reminder", boxes[0]["hwnd"])
        # No window of its own besides the box.
        pid = boxes[0]["pid"]
        self.assertEqual([w for w in find() if w["pid"] == pid and w["hwnd"] != boxes[0]["hwnd"]],
                         [])
        self.assertTrue(dismiss(boxes[0]))
        self.assertEqual(second.wait(), 0)
        time.sleep(0.5)
        self.assertEqual(reminder_boxes(), [])
        self.assertTrue(first.running())
        self.assertEqual([w["hwnd"] for w in main_windows()], [main["hwnd"]])
        self.assertTrue(atom_present())

    def test_after_a_normal_end_a_new_start_succeeds(self):
        first, _ = self.start_first()
        self.assertEqual(end_normally(first), 0)
        self.assertFalse(atom_present())
        again, _ = self.start_first()
        self.assertEqual(reminder_boxes(), [])
        self.assertTrue(again.running())

    def test_after_the_first_instance_is_killed_new_starts_are_refused(self):
        first, _ = self.start_first()
        first.kill()
        self.assertEqual(wait_for(cls=MAIN_CLASS, gone=True), [], "the killed window stays")
        self.assertTrue(atom_present())
        later = self.start()
        boxes = wait_for(title=NOTICE_CAPTION, cls="#32770")
        self.assertEqual(len(boxes), 1)
        self.assertTrue(dismiss(boxes[0]))
        self.assertEqual(later.wait(), 0)
        self.assertEqual(main_windows(), [])

    def test_two_starts_at_the_same_instant_leave_one_instance(self):
        a, b = self.start(), self.start()
        boxes = wait_for(title=NOTICE_CAPTION, cls="#32770")
        self.assertEqual(len(boxes), 1)
        self.assertTrue(wait_for(cls=MAIN_CLASS), "the main window did not appear")
        self.assertEqual(len(main_windows()), 1)
        self.assertTrue(dismiss(boxes[0]), "the reminder has no button")
        deadline = time.time() + 20
        while a.running() and b.running() and time.time() < deadline:
            time.sleep(0.2)
        ended = [p for p in (a, b) if not p.running()]
        self.assertEqual(len(ended), 1)
        self.assertEqual(ended[0].proc.returncode, 0)
        self.assertEqual(len(main_windows()), 1)
