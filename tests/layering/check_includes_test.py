#!/usr/bin/env python3
"""The include check passes on the tree as it is and fails once an include that
points up a layer is planted in a temporary copy of it.

Usage: check_includes_test.py <repository root>
"""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

ROOT = None
CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), "check_includes.py")


def run_check(root):
    result = subprocess.run([sys.executable, CHECK, root], capture_output=True, text=True)
    return result.returncode, result.stdout


class IncludeCheck(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.tmp = tempfile.mkdtemp(prefix="tavizo-layers-")
        for top in ("Source", "framework"):
            shutil.copytree(os.path.join(ROOT, top), os.path.join(cls.tmp, top))

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.tmp, ignore_errors=True)

    def plant(self, rel, include):
        """Adds an include line to a copied file (made when missing), checks the copy,
        and takes the line out again."""
        path = os.path.join(self.tmp, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        existed = os.path.exists(path)
        old = open(path, encoding="utf-8").read() if existed else ""
        with open(path, "w", encoding="utf-8") as f:
            f.write(f'#include "{include}"\n' + old)
        try:
            return run_check(self.tmp)
        finally:
            if existed:
                with open(path, "w", encoding="utf-8") as f:
                    f.write(old)
            else:
                os.remove(path)

    def test_the_tree_as_it_is_passes(self):
        code, out = run_check(self.tmp)
        self.assertEqual((code, out), (0, ""))

    def test_an_include_up_a_layer_fails_and_names_the_line(self):
        upward = [
            ("Source/Interpreter/Parser.cpp", "Source/Common/MainThread.h"),
            ("Source/Interpreter/Lexer.cpp", "Source/Script/F/DefinitionData.h"),
            ("Source/Script/F/ElementTree.cpp", "Source/GameComponent/GameObject.h"),
            ("Source/GameComponent/GameObject.cpp", "Source/Common/MainThread.h"),
            ("Source/Common/MainThread.cpp", "Source/Application/Application.h"),
            ("Source/Data/Repository/Templates.cpp", "Source/Interpreter/Parser.h"),
            ("framework/Secure/ZipCrypto.cpp", "Source/Interpreter/Parser.h"),
            ("framework/Platform/Window.h", "framework/Graphics/Painter.h"),
            ("framework/Platform/Headless/HeadlessWindowing.cpp", "framework/Media/WaveSound.h"),
            ("framework/Platform/Services.cpp", "framework/Threading/Thread.h"),
            ("framework/Threading/Thread.cpp", "framework/Graphics/Painter.h"),
        ]
        for rel, include in upward:
            with self.subTest(file=rel, include=include):
                code, out = self.plant(rel, include)
                self.assertEqual(code, 1)
                self.assertIn(f'{rel}:1: #include "{include}"', out)

    def test_a_relative_include_is_judged_by_where_it_leads(self):
        code, out = self.plant("Source/Interpreter/Parser.cpp", "../Common/MainThread.h")
        self.assertEqual(code, 1)
        self.assertIn("Interpreter may not include Common", out)

    def test_includes_down_the_layers_pass(self):
        downward = [
            ("Source/Application/Application.cpp", "Source/Interpreter/Parser.h"),
            ("Source/Common/MainThread.cpp", "Source/Script/F/DefinitionData.h"),
            ("Source/GameComponent/GameObject.cpp", "Source/Script/F/DefinitionData.h"),
            ("Source/Interpreter/Parser.cpp", "Source/Data/Repository/Templates.h"),
            ("Source/Script/F/ElementTree.cpp", "framework/Platform/Window.h"),
            ("framework/Graphics/Painter.cpp", "framework/Platform/Window.h"),
            ("framework/Platform/Window.h", "framework/Text/Utf.h"),
        ]
        for rel, include in downward:
            with self.subTest(file=rel, include=include):
                self.assertEqual(self.plant(rel, include), (0, ""))

    def test_a_module_without_a_layer_fails(self):
        code, out = self.plant("Source/Scene/View.cpp", "Source/Interpreter/Parser.h")
        self.assertEqual(code, 1)
        self.assertIn("no Source module", out)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        print(__doc__, file=sys.stderr)
        sys.exit(2)
    ROOT = sys.argv.pop(1)
    unittest.main()
