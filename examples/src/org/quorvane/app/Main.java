/* SPDX-License-Identifier: Apache-2.0 */
/*
 * Main.java
 */
package org.quorvane.app;

import org.quorvane.shapes.Circle;
import org.quorvane.shapes.Shape;
import org.quorvane.util.Strings;

/**
 * Prints the area of each circle whose radius is given.
 */
public class Main
{
    public static void main(String[] args)
    {
        for (String radius : Strings.split(String.join(",", args))) {
            Shape shape = new Circle(Double.parseDouble(radius));
            System.out.println(shape);
        }
    }
}
