/* SPDX-License-Identifier: Apache-2.0 */
// Strings.java: small text helpers.
// Line comments only in this heading.
package org.quorvane.util;

import java.util.ArrayList;
import java.util.List;

/**
 * Text helpers. "/* not a comment */" inside a string.
 */
public final class Strings
{
    private Strings()
    {
    }

    /* Splits at every comma. */
    public static List<String> split(String text)
    {
        List<String> parts = new ArrayList<>();
        for (String part : text.split(",")) {
            parts.add(part.trim());
        }
        return parts;
    }
}
